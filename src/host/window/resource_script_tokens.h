// The resource-script text as the resource compiler's preprocessor leaves it: comments
// gone, #include files read in, #if/#ifdef sections chosen, #define names replaced, and
// the rest split into tokens that remember the file and line they came from.
#pragma once

#include <string>
#include <vector>

#include "host/window/resource_script.h"

namespace host::window::rc {

enum class TokenKind { Identifier, Number, String, Punctuator };

struct Token {
  TokenKind kind;
  std::string text;  // identifiers and punctuators as written; strings without quotes
  long long number;  // numbers
  std::string file;
  int line;
};

struct ScriptError {
  std::string file;
  int line = 0;
  std::string message;
};

// False, with the error, when the text cannot be preprocessed.
bool Preprocess(const ResourceScript& script, std::vector<Token>* tokens, ScriptError* error);

}  // namespace host::window::rc
