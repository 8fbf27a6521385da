// An engine file reaching up into the dialog: what the layer check must refuse.
#include "app/control_panel.h"
