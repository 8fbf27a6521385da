// Angle-bracket includes (<windows.h>, <commctrl.h>) are not read: the names they would
// define are the host's predefined ones (resource_script_names). Quoted includes are
// looked up among the files embedded with the script. Only object-like #define names are
// supported; using a function-like one is an error.
#include "host/window/resource_script_tokens.h"

#include <cctype>
#include <cstring>
#include <map>

namespace host::window::rc {
namespace {

constexpr int maximumIncludeDepth = 8;
constexpr int maximumExpansionDepth = 32;

struct Macro {
  bool functionLike;
  std::vector<Token> body;
};

// One line's worth of raw tokens; directive lines keep their raw header name.
struct Line {
  int number;
  std::vector<Token> tokens;
  std::string headerName;  // #include <...>
};

class Scanner {
 public:
  Scanner(const std::string& file, const char* text, size_t length) : file_(file), text_(text), end_(text + length) {}

  // Splits the whole text into lines of tokens.
  bool Scan(std::vector<Line>* lines, ScriptError* error) {
    const char* p = text_;
    int line = 1;
    Line current{1, {}, ""};
    auto finishLine = [&]() {
      if (!current.tokens.empty()) lines->push_back(current);
      current = Line{line, {}, ""};
    };
    while (p < end_) {
      char c = *p;
      if (c == '\n') {
        ++line;
        ++p;
        finishLine();
        continue;
      }
      if (c == '\\' && p + 1 < end_ && (p[1] == '\n' || (p[1] == '\r' && p + 2 < end_ && p[2] == '\n'))) {
        p += p[1] == '\n' ? 2 : 3;
        ++line;
        continue;
      }
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++p;
        continue;
      }
      if (c == '/' && p + 1 < end_ && p[1] == '/') {
        while (p < end_ && *p != '\n') ++p;
        continue;
      }
      if (c == '/' && p + 1 < end_ && p[1] == '*') {
        int startLine = line;
        p += 2;
        while (p + 1 < end_ && !(p[0] == '*' && p[1] == '/')) {
          if (*p == '\n') ++line;
          ++p;
        }
        if (p + 1 >= end_) return Fail(error, startLine, "unterminated comment");
        p += 2;
        continue;
      }
      if (IsIncludeSoFar(current) && c == '<') {
        const char* close = static_cast<const char*>(std::memchr(p, '>', static_cast<size_t>(end_ - p)));
        const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end_ - p)));
        if (close == nullptr || (newline != nullptr && newline < close))
          return Fail(error, line, "unterminated #include <...>");
        current.headerName.assign(p + 1, close);
        p = close + 1;
        continue;
      }
      if (c == '"' || (c == 'L' && p + 1 < end_ && p[1] == '"')) {
        if (c == 'L') ++p;
        std::string value;
        if (!ScanString(&p, &value)) return Fail(error, line, "unterminated string");
        current.tokens.push_back(Token{TokenKind::String, value, 0, file_, line});
        continue;
      }
      if (std::isdigit(static_cast<unsigned char>(c))) {
        current.tokens.push_back(ScanNumber(&p, line));
        continue;
      }
      if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
        const char* start = p;
        while (p < end_ && (std::isalnum(static_cast<unsigned char>(*p)) || *p == '_')) ++p;
        Token token{TokenKind::Identifier, std::string(start, p), 0, file_, line};
        // A function-like definition has its parenthesis right after the name.
        if (p < end_ && *p == '(' && IsDefineSoFar(current)) token.text += "(";
        current.tokens.push_back(token);
        continue;
      }
      static const char* const pairs[] = {"==", "!=", "<=", ">=", "&&", "||", "<<", ">>"};
      std::string punctuator(1, c);
      for (const char* pair : pairs) {
        if (p + 1 < end_ && p[0] == pair[0] && p[1] == pair[1]) punctuator = pair;
      }
      if (std::strchr(",|()[]{}+-*/~!&<>=;#%^?:.", c) == nullptr)
        return Fail(error, line, std::string("unexpected character '") + c + "'");
      p += punctuator.size();
      current.tokens.push_back(Token{TokenKind::Punctuator, punctuator, 0, file_, line});
    }
    finishLine();
    return true;
  }

 private:
  static bool IsDirective(const Line& line, const char* name) {
    return line.tokens.size() == 2 && line.tokens[0].text == "#" && line.tokens[1].text == name;
  }
  static bool IsIncludeSoFar(const Line& line) { return IsDirective(line, "include"); }
  static bool IsDefineSoFar(const Line& line) { return IsDirective(line, "define"); }

  bool Fail(ScriptError* error, int line, const std::string& message) const {
    *error = ScriptError{file_, line, message};
    return false;
  }

  bool ScanString(const char** cursor, std::string* value) const {
    const char* p = *cursor + 1;
    for (;;) {
      if (p >= end_ || *p == '\n') return false;
      char c = *p++;
      if (c == '"') {
        // Two quotes inside a string stand for one.
        if (p < end_ && *p == '"') {
          value->push_back('"');
          ++p;
          continue;
        }
        break;
      }
      if (c == '\\' && p < end_) {
        char e = *p++;
        switch (e) {
          case 'n':
            value->push_back('\n');
            break;
          case 't':
            value->push_back('\t');
            break;
          case 'r':
            value->push_back('\r');
            break;
          case 'a':
            value->push_back('\a');
            break;
          case '0':
            value->push_back('\0');
            break;
          default:
            value->push_back(e);
            break;
        }
        continue;
      }
      value->push_back(c);
    }
    *cursor = p;
    return true;
  }

  Token ScanNumber(const char** cursor, int line) const {
    const char* p = *cursor;
    long long value = 0;
    if (p[0] == '0' && p + 1 < end_ && (p[1] == 'x' || p[1] == 'X')) {
      p += 2;
      while (p < end_ && std::isxdigit(static_cast<unsigned char>(*p))) {
        int digit = std::isdigit(static_cast<unsigned char>(*p)) ? *p - '0' : std::tolower(*p) - 'a' + 10;
        value = value * 16 + digit;
        ++p;
      }
    } else {
      while (p < end_ && std::isdigit(static_cast<unsigned char>(*p))) value = value * 10 + (*p++ - '0');
    }
    while (p < end_ && (*p == 'L' || *p == 'l' || *p == 'U' || *p == 'u')) ++p;
    Token token{TokenKind::Number, std::string(*cursor, p), value, file_, line};
    *cursor = p;
    return token;
  }

  std::string file_;
  const char* text_;
  const char* end_;
};

struct Condition {
  bool parentActive;
  bool active;
  bool taken;  // a branch of this #if has been chosen
  bool elseSeen;
  int line;
};

class Preprocessor {
 public:
  Preprocessor(const ResourceScript& script, std::vector<Token>* out, ScriptError* error)
      : script_(script), out_(out), error_(error) {}

  bool Run(const std::string& file, const char* text, size_t length, int depth) {
    std::vector<Line> lines;
    if (!Scanner(file, text, length).Scan(&lines, error_)) return false;
    std::vector<Condition> conditions;
    for (const Line& line : lines) {
      bool active = conditions.empty() || conditions.back().active;
      if (line.tokens[0].text == "#" && line.tokens[0].kind == TokenKind::Punctuator) {
        if (!Directive(file, line, depth, active, &conditions)) return false;
        continue;
      }
      if (!active) continue;
      if (!Expand(line.tokens, 0, out_)) return false;
    }
    if (!conditions.empty()) return Fail(file, conditions.back().line, "#if without #endif");
    return true;
  }

 private:
  bool Fail(const std::string& file, int line, const std::string& message) {
    *error_ = ScriptError{file, line, message};
    return false;
  }

  bool Directive(const std::string& file, const Line& line, int depth, bool active,
                 std::vector<Condition>* conditions) {
    if (line.tokens.size() < 2) return true;  // a lone '#' is allowed
    const std::string& name = line.tokens[1].text;
    std::vector<Token> rest(line.tokens.begin() + 2, line.tokens.end());
    if (name == "ifdef" || name == "ifndef") {
      if (rest.empty() || rest[0].kind != TokenKind::Identifier)
        return Fail(file, line.number, "#" + name + " without a name");
      bool defined = macros_.count(BareName(rest[0].text)) != 0;
      bool chosen = name == "ifdef" ? defined : !defined;
      conditions->push_back(Condition{active, active && chosen, chosen, false, line.number});
      return true;
    }
    if (name == "if") {
      long long value = 0;
      if (active && !Evaluate(file, line.number, rest, &value)) return false;
      conditions->push_back(Condition{active, active && value != 0, value != 0, false, line.number});
      return true;
    }
    if (name == "elif" || name == "else" || name == "endif") {
      if (conditions->empty()) return Fail(file, line.number, "#" + name + " without #if");
      Condition& c = conditions->back();
      if (name == "endif") {
        conditions->pop_back();
        return true;
      }
      if (c.elseSeen) return Fail(file, line.number, "#" + name + " after #else");
      if (name == "else") {
        c.elseSeen = true;
        c.active = c.parentActive && !c.taken;
        c.taken = true;
        return true;
      }
      long long value = 0;
      if (c.parentActive && !c.taken && !Evaluate(file, line.number, rest, &value)) return false;
      c.active = c.parentActive && !c.taken && value != 0;
      c.taken = c.taken || value != 0;
      return true;
    }
    if (!active) return true;
    if (name == "define") {
      if (rest.empty() || rest[0].kind != TokenKind::Identifier)
        return Fail(file, line.number, "#define without a name");
      const std::string& defined = rest[0].text;
      bool functionLike = !defined.empty() && defined.back() == '(';
      macros_[BareName(defined)] = Macro{functionLike, std::vector<Token>(rest.begin() + 1, rest.end())};
      return true;
    }
    if (name == "undef") {
      if (!rest.empty()) macros_.erase(BareName(rest[0].text));
      return true;
    }
    if (name == "include") return Include(file, line, depth);
    if (name == "pragma") return true;
    if (name == "error") return Fail(file, line.number, "#error");
    return Fail(file, line.number, "unknown directive #" + name);
  }

  static std::string BareName(const std::string& name) {
    return (!name.empty() && name.back() == '(') ? name.substr(0, name.size() - 1) : name;
  }

  bool Include(const std::string& file, const Line& line, int depth) {
    if (!line.headerName.empty()) return true;  // a system header: its names are predefined
    if (line.tokens.size() < 3 || line.tokens[2].kind != TokenKind::String) {
      return Fail(file, line.number, "#include expects \"file\" or <file>");
    }
    const std::string& wanted = line.tokens[2].text;
    if (depth >= maximumIncludeDepth) return Fail(file, line.number, "#include nested too deeply");
    for (size_t i = 0; i < script_.includeCount; ++i) {
      const EmbeddedFile& f = script_.includes[i];
      if (wanted == f.name) return Run(f.name, f.text, f.length, depth + 1);
    }
    return Fail(file, line.number, "cannot open include file \"" + wanted + "\"");
  }

  bool Expand(const std::vector<Token>& tokens, int depth, std::vector<Token>* into) {
    for (const Token& token : tokens) {
      auto found = token.kind == TokenKind::Identifier ? macros_.find(token.text) : macros_.end();
      if (found == macros_.end()) {
        into->push_back(token);
        continue;
      }
      if (found->second.functionLike)
        return Fail(token.file, token.line, "function-like macro " + token.text + " is not supported");
      if (depth >= maximumExpansionDepth)
        return Fail(token.file, token.line, "#define " + token.text + " refers to itself");
      // Replacement tokens take the place (file and line) of the name they replace.
      std::vector<Token> body = found->second.body;
      for (Token& b : body) {
        b.file = token.file;
        b.line = token.line;
      }
      if (!Expand(body, depth + 1, into)) return false;
    }
    return true;
  }

  // #if and #elif: integer arithmetic over defined(NAME), numbers and macros (unknown names
  // count as 0, as in C).
  bool Evaluate(const std::string& file, int line, const std::vector<Token>& raw, long long* value) {
    std::vector<Token> resolved;
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i].kind == TokenKind::Identifier && raw[i].text == "defined") {
        size_t at = i + 1;
        bool parenthesised = at < raw.size() && raw[at].text == "(";
        if (parenthesised) ++at;
        if (at >= raw.size() || raw[at].kind != TokenKind::Identifier)
          return Fail(file, line, "defined without a name");
        Token number{TokenKind::Number, "", macros_.count(BareName(raw[at].text)) ? 1 : 0, file, line};
        resolved.push_back(number);
        i = at + (parenthesised ? 1 : 0);
        continue;
      }
      resolved.push_back(raw[i]);
    }
    std::vector<Token> expanded;
    if (!Expand(resolved, 0, &expanded)) return false;
    size_t position = 0;
    std::string problem;
    if (!Binary(expanded, &position, 0, value, &problem) || position != expanded.size()) {
      return Fail(file, line, problem.empty() ? "malformed #if expression" : problem);
    }
    return true;
  }

  static int Precedence(const std::string& op) {
    static const std::map<std::string, int> table = {{"||", 1}, {"&&", 2}, {"|", 3}, {"^", 4},  {"&", 5},  {"==", 6},
                                                     {"!=", 6}, {"<", 7},  {">", 7}, {"<=", 7}, {">=", 7}, {"<<", 8},
                                                     {">>", 8}, {"+", 9},  {"-", 9}, {"*", 10}, {"/", 10}, {"%", 10}};
    auto found = table.find(op);
    return found != table.end() ? found->second : 0;
  }

  static bool Unary(const std::vector<Token>& t, size_t* i, long long* value, std::string* problem) {
    if (*i >= t.size()) return false;
    const Token& token = t[(*i)++];
    if (token.kind == TokenKind::Number) {
      *value = token.number;
      return true;
    }
    if (token.kind == TokenKind::Identifier) {
      *value = 0;
      return true;
    }
    if (token.text == "(") {
      if (!Binary(t, i, 0, value, problem)) return false;
      if (*i >= t.size() || t[*i].text != ")") return false;
      ++*i;
      return true;
    }
    long long operand = 0;
    if (token.text == "!" || token.text == "-" || token.text == "~" || token.text == "+") {
      if (!Unary(t, i, &operand, problem)) return false;
      *value = token.text == "!" ? !operand : token.text == "-" ? -operand : token.text == "~" ? ~operand : operand;
      return true;
    }
    return false;
  }

  static bool Binary(const std::vector<Token>& t, size_t* i, int minimum, long long* value, std::string* problem) {
    if (!Unary(t, i, value, problem)) return false;
    while (*i < t.size()) {
      const std::string& op = t[*i].text;
      int precedence = t[*i].kind == TokenKind::Punctuator ? Precedence(op) : 0;
      if (precedence == 0 || precedence <= minimum) break;
      ++*i;
      long long right = 0;
      if (!Binary(t, i, precedence, &right, problem)) return false;
      if ((op == "/" || op == "%") && right == 0) {
        *problem = "division by zero in #if";
        return false;
      }
      long long l = *value;
      if (op == "||")
        *value = l || right;
      else if (op == "&&")
        *value = l && right;
      else if (op == "|")
        *value = l | right;
      else if (op == "^")
        *value = l ^ right;
      else if (op == "&")
        *value = l & right;
      else if (op == "==")
        *value = l == right;
      else if (op == "!=")
        *value = l != right;
      else if (op == "<")
        *value = l < right;
      else if (op == ">")
        *value = l > right;
      else if (op == "<=")
        *value = l <= right;
      else if (op == ">=")
        *value = l >= right;
      else if (op == "<<")
        *value = l << right;
      else if (op == ">>")
        *value = l >> right;
      else if (op == "+")
        *value = l + right;
      else if (op == "-")
        *value = l - right;
      else if (op == "*")
        *value = l * right;
      else if (op == "/")
        *value = l / right;
      else
        *value = l % right;
    }
    return true;
  }

  const ResourceScript& script_;
  std::vector<Token>* out_;
  ScriptError* error_;
  std::map<std::string, Macro> macros_;
};

}  // namespace

bool Preprocess(const ResourceScript& script, std::vector<Token>* tokens, ScriptError* error) {
  tokens->clear();
  Preprocessor preprocessor(script, tokens, error);
  return preprocessor.Run(script.name != nullptr ? script.name : "", script.text, script.length, 0);
}

}  // namespace host::window::rc
