// The resource statements the host understands: DIALOG and DIALOGEX with their optional
// statements (STYLE, EXSTYLE, CAPTION, FONT, and MENU, CLASS, LANGUAGE, CHARACTERISTICS,
// VERSION, which are read and ignored) and the controls LTEXT, RTEXT, CTEXT, PUSHBUTTON,
// DEFPUSHBUTTON, GROUPBOX, AUTOCHECKBOX, EDITTEXT, COMBOBOX and CONTROL. Other resources
// (icons, manifests, string tables, version information...) are skipped whole.
//
// Styles combine as the resource compiler combines them: every control has WS_CHILD |
// WS_VISIBLE, each statement adds its documented defaults, the script's terms are or-ed in
// and its NOT terms are taken out last.
#include <algorithm>
#include <cctype>
#include <strings.h>

#include "host/window/resource_script_names.h"
#include "host/window/resource_script_tokens.h"

namespace host {

using window::rc::Token;
using window::rc::TokenKind;

namespace {

struct Statement {
  const char* keyword;
  ControlClass kind;
  const char* className;
  DWORD defaults;
  bool hasText;
};

const Statement statements[] = {
    {"LTEXT", ControlClass::Static, WC_STATICA, SS_LEFT | WS_GROUP, true},
    {"RTEXT", ControlClass::Static, WC_STATICA, SS_RIGHT | WS_GROUP, true},
    {"CTEXT", ControlClass::Static, WC_STATICA, SS_CENTER | WS_GROUP, true},
    {"PUSHBUTTON", ControlClass::Button, WC_BUTTONA, BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", ControlClass::Button, WC_BUTTONA, BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"GROUPBOX", ControlClass::Button, WC_BUTTONA, BS_GROUPBOX, true},
    {"AUTOCHECKBOX", ControlClass::Button, WC_BUTTONA, BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"EDITTEXT", ControlClass::Edit, WC_EDITA, ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    // CBS_SIMPLE too, unless the script gives the combo box a type (see below).
    {"COMBOBOX", ControlClass::ComboBox, WC_COMBOBOXA, WS_TABSTOP, false},
};

struct ClassName {
  const char* name;
  ControlClass kind;
};

const ClassName classNames[] = {
    {WC_BUTTONA, ControlClass::Button},
    {WC_STATICA, ControlClass::Static},
    {WC_EDITA, ControlClass::Edit},
    {WC_COMBOBOXA, ControlClass::ComboBox},
    {TRACKBAR_CLASSA, ControlClass::Trackbar},
    {WC_TREEVIEWA, ControlClass::TreeView},
};

struct Style {
  DWORD set = 0;
  DWORD cleared = 0;  // NOT terms
};

class Parser {
 public:
  Parser(const std::vector<Token>& tokens, const std::string& file, ResourceScriptParse* result)
      : tokens_(tokens), file_(file), result_(result) {}

  bool Parse() {
    while (!AtEnd()) {
      if (!TopLevelStatement()) return false;
    }
    return true;
  }

 private:
  // --- Tokens
  bool AtEnd() const { return position_ >= tokens_.size(); }
  const Token& Peek() const { return AtEnd() ? EndToken() : tokens_[position_]; }
  const Token& Next() { return AtEnd() ? EndToken() : tokens_[position_++]; }

  const Token& EndToken() const {
    static Token end;
    end = Token{TokenKind::Punctuator, "", 0, tokens_.empty() ? file_ : tokens_.back().file,
                tokens_.empty() ? 1 : tokens_.back().line};
    return end;
  }

  static bool IsWord(const Token& t, const char* word) {
    return t.kind == TokenKind::Identifier && strcasecmp(t.text.c_str(), word) == 0;
  }
  static bool IsPunctuator(const Token& t, const char* p) { return t.kind == TokenKind::Punctuator && t.text == p; }
  static bool IsBegin(const Token& t) { return IsWord(t, "BEGIN") || IsPunctuator(t, "{"); }
  static bool IsEnd(const Token& t) { return IsWord(t, "END") || IsPunctuator(t, "}"); }

  static std::string Describe(const Token& t) {
    if (t.text.empty() && t.kind == TokenKind::Punctuator) return "end of file";
    if (t.kind == TokenKind::String) return "\"" + t.text + "\"";
    return "'" + t.text + "'";
  }

  bool Fail(const Token& at, const std::string& message) {
    result_->errorFile = at.file;
    result_->errorLine = at.line;
    result_->errorMessage = message;
    return false;
  }

  bool Expect(const char* punctuator) {
    const Token& t = Peek();
    if (!IsPunctuator(t, punctuator))
      return Fail(t, std::string("expected '") + punctuator + "' before " + Describe(t));
    ++position_;
    return true;
  }

  bool Optional(const char* punctuator) {
    if (!IsPunctuator(Peek(), punctuator)) return false;
    ++position_;
    return true;
  }

  bool String(std::string* value) {
    const Token& t = Peek();
    if (t.kind != TokenKind::String) return Fail(t, "expected a string before " + Describe(t));
    *value = Next().text;
    return true;
  }

  // --- Expressions: numbers, predefined names, ( ), unary - ~ +, binary * / + - & |
  bool Primary(long long* value) {
    const Token& t = Next();
    if (t.kind == TokenKind::Number) {
      *value = t.number;
      return true;
    }
    if (t.kind == TokenKind::Identifier) {
      if (window::rc::PredefinedNumber(t.text, value)) return true;
      return Fail(t, "unknown name '" + t.text + "'");
    }
    if (IsPunctuator(t, "(")) {
      if (!Binary(0, value)) return false;
      return Expect(")");
    }
    if (IsPunctuator(t, "-") || IsPunctuator(t, "~") || IsPunctuator(t, "+")) {
      long long operand = 0;
      if (!Primary(&operand)) return false;
      *value = t.text == "-" ? -operand : t.text == "~" ? ~operand : operand;
      return true;
    }
    return Fail(t, "expected a number before " + Describe(t));
  }

  static int Precedence(const Token& t) {
    if (t.kind != TokenKind::Punctuator) return 0;
    if (t.text == "|") return 1;
    if (t.text == "&") return 2;
    if (t.text == "+" || t.text == "-") return 3;
    if (t.text == "*" || t.text == "/") return 4;
    return 0;
  }

  bool Binary(int minimum, long long* value) {
    if (!Primary(value)) return false;
    for (;;) {
      const Token& op = Peek();
      int precedence = Precedence(op);
      if (precedence == 0 || precedence <= minimum) return true;
      ++position_;
      long long right = 0;
      if (!Binary(precedence, &right)) return false;
      if (op.text == "/" && right == 0) return Fail(op, "division by zero");
      if (op.text == "|")
        *value |= right;
      else if (op.text == "&")
        *value &= right;
      else if (op.text == "+")
        *value += right;
      else if (op.text == "-")
        *value -= right;
      else if (op.text == "*")
        *value *= right;
      else
        *value /= right;
    }
  }

  bool Number(int* value) {
    long long v = 0;
    if (!Binary(0, &v)) return false;
    *value = static_cast<int>(v);
    return true;
  }

  bool Dword(DWORD* value) {
    long long v = 0;
    if (!Binary(0, &v)) return false;
    *value = static_cast<DWORD>(v);
    return true;
  }

  // A style: terms joined by |, each possibly NOT (its bits are taken out).
  bool StyleExpression(Style* style) {
    for (;;) {
      bool negated = IsWord(Peek(), "NOT");
      if (negated) ++position_;
      long long term = 0;
      // Above '|': the terms of the list are its operands.
      if (!Binary(1, &term)) return false;
      (negated ? style->cleared : style->set) |= static_cast<DWORD>(term);
      if (!Optional("|")) return true;
    }
  }

  // --- Statements
  bool TopLevelStatement() {
    const Token& first = Peek();
    if (IsWord(first, "LANGUAGE")) {
      ++position_;
      int primary = 0, secondary = 0;
      return Number(&primary) && Expect(",") && Number(&secondary);
    }
    if (IsWord(first, "STRINGTABLE")) {
      ++position_;
      return SkipBlock(first);
    }
    const Token& name = Next();
    if (name.kind == TokenKind::Punctuator) return Fail(name, "expected a resource name before " + Describe(name));
    const Token& type = Next();
    if (IsWord(type, "DIALOGEX") || IsWord(type, "DIALOG")) return Dialog(name, IsWord(type, "DIALOGEX"));
    if (type.kind == TokenKind::Punctuator) return Fail(type, "expected a resource type before " + Describe(type));
    // A resource read from a file names it on its own line; others have a block.
    bool fromFile = false;
    for (size_t i = position_; i < tokens_.size() && tokens_[i].line == type.line && tokens_[i].file == type.file;
         ++i) {
      fromFile = fromFile || tokens_[i].kind == TokenKind::String;
    }
    if (fromFile) {
      while (!AtEnd() && Peek().line == type.line && Peek().file == type.file) ++position_;
      return true;
    }
    return SkipBlock(type);
  }

  // Skips to the resource's BEGIN and past its matching END.
  bool SkipBlock(const Token& start) {
    while (!AtEnd() && !IsBegin(Peek())) ++position_;
    if (AtEnd()) return Fail(start, "resource " + Describe(start) + " has no BEGIN");
    int depth = 0;
    do {
      const Token& t = Next();
      if (IsBegin(t)) ++depth;
      if (IsEnd(t)) --depth;
    } while (depth > 0 && !AtEnd());
    if (depth > 0) return Fail(start, "resource " + Describe(start) + " has no END");
    return true;
  }

  bool Dialog(const Token& name, bool extended) {
    DialogTemplate d{};
    d.extended = extended;
    d.line = name.line;
    if (name.kind == TokenKind::Number) {
      d.numeric = true;
      d.id = static_cast<int>(name.number);
    } else {
      d.numeric = false;
      d.id = -1;
      d.name = name.text;
      std::transform(d.name.begin(), d.name.end(), d.name.begin(), [](unsigned char c) { return std::toupper(c); });
    }
    int helpId = 0;
    if (!(Number(&d.x) && Expect(",") && Number(&d.y) && Expect(",") && Number(&d.cx) && Expect(",") &&
          Number(&d.cy))) {
      return false;
    }
    if (extended && Optional(",") && !Number(&helpId)) return false;
    Style style;
    bool styleGiven = false;
    bool hasCaption = false;
    bool hasFont = false;
    while (!IsBegin(Peek())) {
      const Token& t = Next();
      if (IsWord(t, "STYLE")) {
        styleGiven = true;
        if (!StyleExpression(&style)) return false;
      } else if (IsWord(t, "EXSTYLE")) {
        if (!Dword(&d.exStyle)) return false;
      } else if (IsWord(t, "CAPTION")) {
        hasCaption = true;
        if (!String(&d.caption)) return false;
      } else if (IsWord(t, "FONT")) {
        hasFont = true;
        if (!(Number(&d.fontSize) && Expect(",") && String(&d.fontName))) return false;
        for (int extra = 0; extended && extra < 3 && Optional(","); ++extra) {
          int ignored = 0;
          if (!Number(&ignored)) return false;
        }
      } else if (IsWord(t, "MENU") || IsWord(t, "CLASS") || IsWord(t, "CHARACTERISTICS") || IsWord(t, "VERSION")) {
        if (Peek().kind == TokenKind::Punctuator) return Fail(Peek(), "expected a value after " + Describe(t));
        ++position_;
      } else if (IsWord(t, "LANGUAGE")) {
        int primary = 0, secondary = 0;
        if (!(Number(&primary) && Expect(",") && Number(&secondary))) return false;
      } else {
        return Fail(t, "unknown dialog statement " + Describe(t));
      }
    }
    ++position_;  // BEGIN
    while (!IsEnd(Peek())) {
      if (AtEnd()) return Fail(name, "dialog " + Describe(name) + " has no END");
      ControlTemplate control{};
      if (!Control(&control)) return false;
      d.controls.push_back(control);
    }
    ++position_;  // END
    DWORD dialogStyle = styleGiven ? (style.set & ~style.cleared) : (WS_POPUP | WS_BORDER | WS_SYSMENU);
    if (hasCaption) dialogStyle |= WS_CAPTION;
    if (hasFont) dialogStyle |= DS_SETFONT;
    d.style = dialogStyle;
    result_->dialogs.push_back(d);
    return true;
  }

  bool Coordinates(ControlTemplate* c) {
    return Number(&c->x) && Expect(",") && Number(&c->y) && Expect(",") && Number(&c->cx) && Expect(",") &&
           Number(&c->cy);
  }

  bool ClassOf(ControlTemplate* c) {
    const Token& t = Next();
    std::string name;
    if (t.kind == TokenKind::String) {
      name = t.text;
    } else if (t.kind == TokenKind::Identifier) {
      const char* predefined = window::rc::PredefinedString(t.text);
      name = predefined != nullptr ? predefined : t.text;
    } else {
      return Fail(t, "expected a window class before " + Describe(t));
    }
    for (const ClassName& known : classNames) {
      if (strcasecmp(known.name, name.c_str()) == 0) {
        c->kind = known.kind;
        c->className = known.name;
        return true;
      }
    }
    return Fail(t, "unknown control class \"" + name + "\"");
  }

  // The optional trailing ", style, extended style, help id" of a control.
  bool Trailing(Style* style, DWORD* exStyle, bool styleAllowed) {
    if (styleAllowed) {
      if (!Optional(",")) return true;
      if (!StyleExpression(style)) return false;
    }
    if (!Optional(",")) return true;
    if (!Dword(exStyle)) return false;
    int helpId = 0;
    if (Optional(",") && !Number(&helpId)) return false;
    return true;
  }

  bool Control(ControlTemplate* c) {
    const Token& keyword = Next();
    c->line = keyword.line;
    Style style;
    DWORD defaults = WS_CHILD | WS_VISIBLE;
    if (IsWord(keyword, "CONTROL")) {
      if (!(String(&c->text) && Expect(",") && Number(&c->id) && Expect(",") && ClassOf(c) && Expect(",") &&
            StyleExpression(&style) && Expect(",") && Coordinates(c) && Trailing(&style, &c->exStyle, false))) {
        return false;
      }
      c->style = (defaults | style.set) & ~style.cleared;
      return true;
    }
    const Statement* statement = nullptr;
    for (const Statement& s : statements) {
      if (IsWord(keyword, s.keyword)) statement = &s;
    }
    if (statement == nullptr) return Fail(keyword, "unknown control statement " + Describe(keyword));
    c->kind = statement->kind;
    c->className = statement->className;
    if (statement->hasText && !(String(&c->text) && Expect(","))) return false;
    if (!(Number(&c->id) && Expect(",") && Coordinates(c) && Trailing(&style, &c->exStyle, true))) return false;
    defaults |= statement->defaults;
    // The documented CBS_SIMPLE default applies only to a combo box given no type of its
    // own: the resource compiler makes "CBS_DROPDOWN" a drop-down, not CBS_DROPDOWNLIST.
    if (statement->kind == ControlClass::ComboBox && (style.set & CBS_DROPDOWNLIST) == 0) defaults |= CBS_SIMPLE;
    c->style = (defaults | style.set) & ~style.cleared;
    return true;
  }

  const std::vector<Token>& tokens_;
  std::string file_;
  ResourceScriptParse* result_;
  size_t position_ = 0;
};

}  // namespace

std::string ResourceScriptParse::ErrorText() const {
  if (ok) return "";
  return errorFile + ":" + std::to_string(errorLine) + ": " + errorMessage;
}

ResourceScriptParse ParseResourceScript(const ResourceScript& script) {
  ResourceScriptParse result;
  std::vector<Token> tokens;
  window::rc::ScriptError error;
  if (!window::rc::Preprocess(script, &tokens, &error)) {
    result.errorFile = error.file;
    result.errorLine = error.line;
    result.errorMessage = error.message;
    return result;
  }
  Parser parser(tokens, script.name != nullptr ? script.name : "", &result);
  result.ok = parser.Parse();
  if (!result.ok) result.dialogs.clear();
  return result;
}

}  // namespace host
