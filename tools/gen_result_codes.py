#!/usr/bin/env python3
"""Generate src/diag/result_code_table.cpp from the MinGW-w64 headers.

The bench prints HRESULTs and Win32 error numbers coming back from DirectInput
and the rest of Windows.  Showing "DIERR_NOTACQUIRED" instead of 0x8007000C
saves a trip to the documentation, so we keep a table of code -> symbolic
name.  The names live in the SDK headers; this script reads the copies shipped
with Debian's mingw-w64 packages, evaluates each result-code definition and
writes a sorted C++ array that the host build compiles without needing MinGW.

How texts are formed:
  * Every code appears once.  When several constants share a value, the text
    is all their names joined by " & ", in the order of HEADERS below and,
    inside a header, in definition order.  A constant defined as another one
    (DIERR_GENERIC is E_FAIL) is joined like any other: a DirectInput call
    that fails with E_ACCESSDENIED is documented as DIERR_OTHERAPPHASPRIO, and
    the trace should say so.
  * A Win32 error number defined as a bare number in winerror.h is listed both
    as itself and as its HRESULT (0x80070000 | n); both entries get the union
    of the names found at either value, so they read the same.
  * 0 and 1 are named "S_OK" and "S_FALSE" only.  Plenty of other constants
    are 0 or 1 (ERROR_SUCCESS, DS_OK, WBEM_S_FALSE, ERROR_INVALID_FUNCTION...)
    and joining them would make the two most common results unreadable.
    ERROR_INVALID_FUNCTION still appears, at 0x80070001.
  * A range a header reserves without naming its members (a NAMEFIRST /
    NAMELAST pair with no constants between) is named "NAMEFIRST+k" inside.

Only the headers in HEADERS and, in each, the listed families are read;
other families in winerror.h (newer ones such as D2DERR_ or FWP_E_) are left
out, and --verbose lists them.

Usage: gen_result_codes.py [--include-dir DIR] [--output FILE | --check FILE]
                           [--summary] [--verbose]
Without --output or --check the table goes to stdout.  --check exits 0 when
FILE matches and 1 when it differs; any mode exits 77 when the headers are
missing (ctest's "skipped").
"""

import argparse
import difflib
import os
import re
import sys

DEFAULT_INCLUDE_DIRS = (
    "/usr/share/mingw-w64/include",
    "/usr/x86_64-w64-mingw32/include",
)
SKIP_EXIT = 77

# Families taken from winerror.h, by name prefix.  "WSA" covers WSAE*, WSA_*
# and the other Windows Sockets names.  S_OK and S_FALSE are matched exactly
# (the "S_" prefix alone would pull in unrelated D3D9Ex status codes).
WINERROR_FAMILIES = (
    "ERROR_", "RPC_", "CO_", "COMADMIN_", "DNS_", "CRYPT_", "SEC_", "SPAPI_",
    "XACT_", "SCARD_", "STG_", "OSS_", "NTE_", "CERTSRV_", "WSA", "TYPE_",
    "OLE_", "MK_", "SCHED_", "MSSIPOTF_", "CERT_", "DISP_", "FRS_", "TRUST_",
    "CONTEXT_", "E_", "DV_", "DXGI_", "CS_", "REGDB_", "CONVERT10_",
    "DRAGDROP_", "CLIPBRD_", "COMQC_", "OLEOBJ_", "XENROLL_", "CACHE_",
    "INPLACE_", "ENUM_", "MARSHAL_", "DATA_", "EPT_", "CLIENTSITE_",
    "DIGSIG_", "VIEW_", "CLASSFACTORY_", "MEM_", "OR_", "PERSIST_", "CLASS_",
    "CAT_", "EVENT_", "WAIT_", "DS_", "MSDTC_", "D3D10_",
)
EXACT_NAMES = ("S_OK", "S_FALSE")

# Header order fixes the order of names inside a joined text.  Each header
# contributes only the listed prefixes; "enums" names the enum types whose
# members are result codes (the other enums in those headers are flags).
HEADERS = (
    {"file": "winerror.h", "prefixes": WINERROR_FAMILIES + EXACT_NAMES},
    {"file": "dinput.h", "prefixes": ("DIERR_",)},
    {"file": "dinputd.h", "prefixes": ("DIERR_",)},
    {"file": "ddraw.h", "prefixes": ("DDERR_",)},
    {"file": "d3d9.h", "prefixes": ("D3DERR_", "D3DOK_")},
    {"file": "d3d10.h", "prefixes": ("D3D10_ERROR_",)},
    {"file": "d3dx9.h", "prefixes": ("D3DXERR_",), "enums": ("_D3DXERR",)},
    {"file": "d3dx9xof.h", "prefixes": ("D3DXFERR_",)},
    {"file": "dxfile.h", "prefixes": ("DXFILEERR_",)},
    {"file": "dsound.h", "prefixes": ("DSERR_", "DS_")},
    {"file": "dmerror.h", "prefixes": ("DMUS_",)},
    {"file": "dplay8.h", "prefixes": ("DPNERR_",)},
    {"file": "vfwmsgs.h", "prefixes": ("VFW_",)},
    {"file": "mediaerr.h", "prefixes": ("DMO_",)},
    {"file": "mmstream.h", "prefixes": ("MS_",)},
    {"file": "wbemcli.h", "prefixes": ("WBEM_", "WBEMESS_", "WBEMMOF_"),
     "enums": ("tag_WBEMSTATUS",)},
)


def summary_prefixes():
    """Family prefixes for --summary: a prefix that extends another one
    (D3D10_ERROR_ under D3D10_) is folded into it."""
    found = {"S_"} | {p for h in HEADERS for p in h["prefixes"]
                      if p not in EXACT_NAMES}
    return sorted((p for p in found
                   if not any(p != q and p.startswith(q) for q in found)),
                  key=lambda p: (-len(p), p))


# winerror.h bounds the blocks of the OLE/COM facility with *_E_FIRST /
# *_E_LAST markers (and DNS with *_BASE).  They are limits, not codes, and
# their values coincide with real codes, so they are dropped.
MARKER_PATTERNS = (
    re.compile(r"_[ES]_(FIRST|LAST)$"),
    re.compile(r"^DNS_ERROR_\w+_BASE$"),
    re.compile(r"^(DNS_ERROR_MASK|DNS_ERROR_RCODE_LAST|WSABASEERR)$"),
)

# Type names that may appear in casts inside the macro bodies.  Signed ones
# wrap to 32-bit two's complement, the rest to unsigned 32-bit; that matters
# for HRESULT_FROM_WIN32, which tests "(HRESULT)(x) <= 0".
SIGNED_TYPES = {"HRESULT", "SCODE", "LONG", "INT", "long", "int", "signed",
                "__LONG32", "short"}
UNSIGNED_TYPES = {"ULONG", "DWORD", "UINT", "unsigned", "WORD", "USHORT"}
TYPE_WORDS = SIGNED_TYPES | UNSIGNED_TYPES
# Tokens that mark an expression as an HRESULT rather than a bare number.
HRESULT_MARKERS = {"HRESULT", "SCODE"}

# Macros whose header definitions depend on configuration we do not model.
BUILTIN_MACROS = {
    "__MSABI_LONG": (["x"], ["x"]),
    "_HRESULT_TYPEDEF_": (["_sc"], ["(", "(", "HRESULT", ")", "_sc", ")"]),
}


class Unresolved(Exception):
    """An expression refers to something the evaluator cannot give a value."""


# ---------------------------------------------------------------- lexing ---

TOKEN_RE = re.compile(r"""
    (?P<ws>\s+)
  | (?P<str>L?"(?:\\.|[^"\\])*"|L?'(?:\\.|[^'\\])*')
  | (?P<num>0[xX][0-9A-Fa-f]+[uUlL]*|\d+[uUlL]*)
  | (?P<id>[A-Za-z_]\w*)
  | (?P<op><<|>>|<=|>=|==|!=|&&|\|\||\#\#|[-+*/%&|^~!<>?:(),\#\[\]{};=.])
""", re.VERBOSE)


def tokenize(text):
    tokens = []
    pos = 0
    while pos < len(text):
        m = TOKEN_RE.match(text, pos)
        if not m:
            tokens.append(text[pos])
            pos += 1
            continue
        pos = m.end()
        if m.lastgroup != "ws":
            tokens.append(m.group())
    return tokens


def strip_comments(text):
    """Remove C and C++ comments, keeping string literals and line breaks."""
    def repl(m):
        s = m.group()
        if s.startswith("/"):
            return "\n" * s.count("\n") if s.startswith("/*") else ""
        return s
    return re.sub(r'/\*.*?\*/|//[^\n]*|"(?:\\.|[^"\\\n])*"',
                  repl, text, flags=re.S)


def logical_lines(text):
    """Yield lines with backslash continuations joined."""
    return text.replace("\\\n", " ").split("\n")


# ---------------------------------------------------------------- parsing --

class Definition:
    """One candidate constant: a #define or an enum member."""

    def __init__(self, name, tokens, header_index, position, enum=None):
        self.name = name
        self.tokens = tokens  # None for an enum member without "= value"
        self.header_index = header_index
        self.position = position
        self.enum = enum  # name of the enclosing enum, if any

    @property
    def order(self):
        return (self.header_index, self.position)


DEFINE_RE = re.compile(r"^\s*#\s*define\s+([A-Za-z_]\w*)(\(([^)]*)\))?(.*)$")
ENUM_RE = re.compile(r"\benum\s+([A-Za-z_]\w*)\s*\{(.*?)\}", re.S)


def parse_defines(text):
    """Return (name, params or None, body tokens) for each #define."""
    out = []
    for line in logical_lines(text):
        m = DEFINE_RE.match(line)
        if not m:
            continue
        name, has_params, params, body = m.groups()
        param_list = None
        if has_params is not None:
            param_list = [p.strip() for p in params.split(",") if p.strip()]
        out.append((name, param_list, tokenize(body)))
    return out


def parse_enums(text, wanted):
    """Return {enum name: [(member, value tokens or None), ...]}."""
    out = {}
    for m in ENUM_RE.finditer(text):
        if m.group(1) not in wanted:
            continue
        members = []
        for item in split_top_level(tokenize(m.group(2))):
            if not item:
                continue
            if len(item) >= 2 and item[1] == "=":
                members.append((item[0], item[2:]))
            else:
                members.append((item[0], None))
        out[m.group(1)] = members
    return out


def split_top_level(tokens, sep=","):
    """Split a token list on commas that are not inside parentheses."""
    parts, current, depth = [], [], 0
    for tok in tokens:
        if tok == "(":
            depth += 1
        elif tok == ")":
            depth -= 1
        if tok == sep and depth == 0:
            parts.append(current)
            current = []
        else:
            current.append(tok)
    parts.append(current)
    return parts


# ------------------------------------------------------ macro expansion ---

class MacroTable:
    """Object- and function-like macros gathered from all listed headers.

    The first definition wins, as it would when the headers are included in
    the listed order (later copies sit behind #ifndef guards).
    """

    def __init__(self):
        self.object_like = {}
        self.function_like = dict(BUILTIN_MACROS)

    def add(self, name, params, body):
        if name in BUILTIN_MACROS:
            return
        if params is None:
            self.object_like.setdefault(name, body)
        else:
            self.function_like.setdefault(name, (params, body))

    def expand(self, tokens, active=frozenset()):
        """Fully macro-expand a token list (no ## or # support needed)."""
        out = []
        i = 0
        while i < len(tokens):
            tok = tokens[i]
            if tok in active:
                out.append(tok)
                i += 1
            elif tok in self.function_like and i + 1 < len(tokens) \
                    and tokens[i + 1] == "(":
                args, i = self._collect_args(tokens, i + 1)
                params, body = self.function_like[tok]
                expanded_args = [self.expand(a, active) for a in args]
                out.extend(self.expand(
                    substitute(body, params, expanded_args), active | {tok}))
            elif tok in self.object_like:
                out.extend(self.expand(self.object_like[tok], active | {tok}))
                i += 1
            else:
                out.append(tok)
                i += 1
        return out

    @staticmethod
    def _collect_args(tokens, open_index):
        depth = 0
        for j in range(open_index, len(tokens)):
            if tokens[j] == "(":
                depth += 1
            elif tokens[j] == ")":
                depth -= 1
                if depth == 0:
                    inner = tokens[open_index + 1:j]
                    args = split_top_level(inner) if inner else []
                    return args, j + 1
        raise Unresolved("unbalanced parentheses in macro call")


def substitute(body, params, args):
    if len(args) != len(params):
        raise Unresolved("macro called with %d arguments, expects %d"
                         % (len(args), len(params)))
    mapping = dict(zip(params, args))
    out = []
    for tok in body:
        if tok == "##":
            continue  # only __MSABI_LONG pastes, and that one is a builtin
        out.extend(mapping.get(tok, [tok]))
    return out


# ------------------------------------------------------------ evaluation ---

def wrap_signed(v):
    v &= 0xFFFFFFFF
    return v - 0x100000000 if v & 0x80000000 else v


def wrap_unsigned(v):
    return v & 0xFFFFFFFF


BINARY_PRECEDENCE = {
    "||": 1, "&&": 2, "|": 3, "^": 4, "&": 5, "==": 6, "!=": 6,
    "<": 7, ">": 7, "<=": 7, ">=": 7, "<<": 8, ">>": 8,
    "+": 9, "-": 9, "*": 10, "/": 10, "%": 10,
}


class Evaluator:
    """Recursive-descent evaluator for the integer expressions in headers."""

    def __init__(self, tokens, constants):
        self.tokens = tokens
        self.pos = 0
        self.constants = constants  # enum members already evaluated

    def run(self):
        value = self.ternary()
        if self.pos != len(self.tokens):
            raise Unresolved("unexpected token %r" % self.tokens[self.pos])
        return value

    def peek(self):
        return self.tokens[self.pos] if self.pos < len(self.tokens) else None

    def take(self, expected=None):
        tok = self.peek()
        if tok is None or (expected is not None and tok != expected):
            raise Unresolved("expected %r, found %r" % (expected, tok))
        self.pos += 1
        return tok

    def ternary(self):
        cond = self.binary(1)
        if self.peek() == "?":
            self.take("?")
            yes = self.ternary()
            self.take(":")
            no = self.ternary()
            return yes if cond else no
        return cond

    def binary(self, min_prec):
        left = self.unary()
        while True:
            op = self.peek()
            prec = BINARY_PRECEDENCE.get(op)
            if prec is None or prec < min_prec:
                return left
            self.take()
            right = self.binary(prec + 1)
            left = apply_binary(op, left, right)

    def unary(self):
        tok = self.peek()
        if tok in ("-", "+", "~", "!"):
            self.take()
            v = self.unary()
            return {"-": -v, "+": v, "~": ~v, "!": int(not v)}[tok]
        if tok == "(" and self._cast_ahead():
            return self.cast()
        return self.primary()

    def _cast_ahead(self):
        j = self.pos + 1
        seen = False
        while j < len(self.tokens) and self.tokens[j] in TYPE_WORDS:
            seen = True
            j += 1
        return seen and j < len(self.tokens) and self.tokens[j] == ")"

    def cast(self):
        self.take("(")
        words = []
        while self.peek() != ")":
            words.append(self.take())
        self.take(")")
        value = self.unary()
        if any(w in UNSIGNED_TYPES for w in words):
            return wrap_unsigned(value)
        return wrap_signed(value)

    def primary(self):
        tok = self.take()
        if tok == "(":
            v = self.ternary()
            self.take(")")
            return v
        if tok[0].isdigit():
            digits = tok.rstrip("uUlL")
            if re.match(r"^0\d", digits):  # C octal
                return int(digits, 8)
            return int(digits, 0)
        if tok in self.constants:
            return self.constants[tok]
        raise Unresolved("unknown identifier %s" % tok)


def apply_binary(op, a, b):
    if op in ("/", "%") and b == 0:
        raise Unresolved("division by zero")
    return {
        "||": lambda: int(bool(a) or bool(b)),
        "&&": lambda: int(bool(a) and bool(b)),
        "|": lambda: a | b, "^": lambda: a ^ b, "&": lambda: a & b,
        "==": lambda: int(a == b), "!=": lambda: int(a != b),
        "<": lambda: int(a < b), ">": lambda: int(a > b),
        "<=": lambda: int(a <= b), ">=": lambda: int(a >= b),
        "<<": lambda: a << b, ">>": lambda: a >> b,
        "+": lambda: a + b, "-": lambda: a - b, "*": lambda: a * b,
        "/": lambda: int(a / b), "%": lambda: a % b,
    }[op]()


# ------------------------------------------------------ collecting codes ---

class Code:
    """A resolved result-code constant."""

    def __init__(self, name, value, order, bare_win32):
        self.name = name
        self.value = value
        self.order = order
        self.bare_win32 = bare_win32


def wanted(name, prefixes):
    return any(name == p if p in EXACT_NAMES else name.startswith(p)
               for p in prefixes)


def is_marker(name):
    return any(p.search(name) for p in MARKER_PATTERNS)


def read_header(include_dir, filename):
    path = os.path.join(include_dir, filename)
    with open(path, encoding="latin-1") as f:
        return strip_comments(f.read())


def gather(include_dir, log):
    """Read the headers and return (macros, candidate definitions)."""
    macros = MacroTable()
    candidates = []
    texts = []
    for index, header in enumerate(HEADERS):
        try:
            texts.append((index, header, read_header(include_dir,
                                                     header["file"])))
        except OSError:
            log.warn("header %s not found; its codes are left out"
                     % header["file"])
    # Every macro of every header first, so a body may use a helper defined
    # in a header that comes later in the list.
    for _, _, text in texts:
        for name, params, body in parse_defines(text):
            macros.add(name, params, body)
    for index, header, text in texts:
        position = 0
        for name, params, body in parse_defines(text):
            position += 1
            if params is None and wanted(name, header["prefixes"]):
                candidates.append(Definition(name, body, index, position))
        enums = parse_enums(text, header.get("enums", ()))
        for enum_name, members in enums.items():
            for name, tokens in members:
                position += 1
                candidates.append(Definition(name, tokens, index, position,
                                             enum=enum_name))
    return macros, candidates


def evaluate(defn, macros, enum_constants, previous_enum_value):
    """Return (value as unsigned 32-bit, True if written as an HRESULT).

    Members of the listed enums count as HRESULTs: those enums are the
    status types of their interfaces.
    """
    if defn.tokens is None:
        return wrap_unsigned(previous_enum_value + 1), True
    expanded = macros.expand(defn.tokens)
    value = Evaluator(expanded, enum_constants).run()
    as_hresult = defn.enum is not None or bool(HRESULT_MARKERS & set(expanded))
    return wrap_unsigned(value), as_hresult


def resolve(macros, candidates, log):
    """Evaluate candidates; return the list of result codes."""
    codes = []
    seen = {}
    enum_constants = {}
    previous, current_enum = -1, None
    winerror_index = 0
    for defn in candidates:
        if defn.enum != current_enum:
            previous, current_enum = -1, defn.enum
        if is_marker(defn.name) and defn.header_index == winerror_index:
            log.excluded(defn.name, "range marker")
            continue
        try:
            value, as_hresult = evaluate(defn, macros, enum_constants,
                                         previous)
        except (Unresolved, RecursionError) as err:
            log.skip(defn.name, str(err))
            continue
        if defn.enum is not None:
            enum_constants[defn.name] = value
            previous = value
        in_winerror = defn.header_index == winerror_index
        if not in_winerror and not as_hresult and value < 0x10000:
            log.excluded(defn.name, "plain number, not a result code")
            continue
        if defn.name in seen:
            if seen[defn.name] != value:
                log.warn("%s defined as 0x%08X and 0x%08X; keeping the first"
                         % (defn.name, seen[defn.name], value))
            continue
        seen[defn.name] = value
        bare = in_winerror and not as_hresult and 0 < value < 0x10000
        codes.append(Code(defn.name, value, defn.order, bare))
    return codes


# --------------------------------------------------------- building texts ---

def hresult_from_win32(n):
    return 0x80070000 | n


def find_reserved_ranges(codes):
    """NAMEFIRST/NAMELAST pairs outside winerror.h whose own header defines
    nothing between them: a block reserved (for drivers, say) whose members
    have no names of their own.  Other headers may reuse the same values,
    since FACILITY_ITF codes are only unique per interface."""
    by_name = {c.name: c for c in codes}
    ranges = []
    for first in codes:
        if not first.name.endswith("FIRST") or first.order[0] == 0:
            continue
        last = by_name.get(first.name[:-len("FIRST")] + "LAST")
        if last is None or last.value <= first.value:
            continue
        same_header = (first.order[0], last.order[0])
        inside = [c for c in codes if c.order[0] in same_header
                  and first.value < c.value < last.value]
        if not inside:
            ranges.append((first, last))
    return ranges


# Only the first offsets of a reserved block are named: drivers report their own
# errors there, while further values in the block belong to the interfaces that
# reuse them (VFW codes sit in the DirectInput driver block).
NAMED_RANGE_OFFSETS = 5


def range_offset_codes(ranges):
    """Names "BASE+k" for the first codes inside each reserved range."""
    out = []
    for first, last in ranges:
        for k in range(1, min(NAMED_RANGE_OFFSETS + 1, last.value - first.value)):
            order = (first.order[0], first.order[1], k)
            out.append(Code("%s+%d" % (first.name, k), first.value + k,
                            order, False))
    return out


def build_entries(codes, log):
    """Map each code value to its joined text."""
    names_at = {}
    win32_numbers = set()
    for code in codes:
        if code.bare_win32:
            win32_numbers.add(code.value)
            names_at.setdefault(hresult_from_win32(code.value), []).append(code)
            if code.value == 1:
                continue  # 1 stays S_FALSE; the HRESULT form keeps the name
        elif code.value in (0, 1) and code.name not in EXACT_NAMES:
            log.excluded(code.name, "value %d is named %s only"
                         % (code.value, EXACT_NAMES[code.value]))
            continue
        names_at.setdefault(code.value, []).append(code)

    # Both forms of a Win32 number carry the union of their names.
    for n in win32_numbers - {1}:
        hr = hresult_from_win32(n)
        names_at[n] = names_at[hr] = names_at[n] + names_at[hr]

    return {value: join_names(found) for value, found in names_at.items()}


def join_names(found):
    ordered = []
    for code in sorted(found, key=lambda c: c.order):
        if code.name not in ordered:
            ordered.append(code.name)
    return " & ".join(ordered)


# ---------------------------------------------------------------- output ---

FILE_HEADER = """\
// result_code_table.cpp
// Generated by tools/gen_result_codes.py from the MinGW-w64 headers.
// Do not edit by hand: change the generator and run it again.
#include "result_code_table.h"

const ResultCodeEntry resultCodeTable[] = {
"""
FILE_FOOTER = """\
};

const size_t resultCodeCount = sizeof(resultCodeTable) / sizeof(resultCodeTable[0]);
"""


def render(entries):
    lines = [FILE_HEADER]
    for value in sorted(entries):
        text = entries[value]
        if not re.match(r"^[A-Za-z0-9_ &+]+$", text):
            raise ValueError("unexpected characters in %r" % text)
        lines.append('    {0x%08Xu, "%s"},\n' % (value, text))
    lines.append(FILE_FOOTER)
    return "".join(lines)


def summary(entries):
    """Table of family prefix -> number of distinct names."""
    prefixes = summary_prefixes()
    counts = {}
    offset_texts = 0
    names = set()
    for text in entries.values():
        names.update(text.split(" & "))
    for name in names:
        if "+" in name:
            offset_texts += 1
            continue
        prefix = next((p for p in prefixes if name.startswith(p)),
                      "(other)")
        counts[prefix] = counts.get(prefix, 0) + 1
    rows = sorted(counts.items(), key=lambda kv: (-kv[1], kv[0]))
    out = ["%-14s %5s" % ("prefix", "names")]
    out += ["%-14s %5d" % row for row in rows]
    out.append("%-14s %5d" % ("total", sum(counts.values())))
    if offset_texts:
        out.append("%-14s %5d" % ("range+k texts", offset_texts))
    out.append("%-14s %5d" % ("entries", len(entries)))
    return "\n".join(out) + "\n"


class Log:
    """Collects what was left out so the run can explain itself."""

    def __init__(self, verbose):
        self.verbose = verbose
        self.skipped = []
        self.excluded_names = []

    def skip(self, name, reason):
        self.skipped.append((name, reason))

    def excluded(self, name, reason):
        self.excluded_names.append((name, reason))

    def warn(self, message):
        print("gen_result_codes: " + message, file=sys.stderr)

    def report(self):
        for name, reason in self.skipped:
            print("gen_result_codes: skipped %s (%s)" % (name, reason),
                  file=sys.stderr)
        if self.verbose:
            for name, reason in self.excluded_names:
                print("gen_result_codes: excluded %s (%s)" % (name, reason),
                      file=sys.stderr)


def report_other_families(include_dir, log):
    """With --verbose, list winerror.h families this table leaves out."""
    text = read_header(include_dir, "winerror.h")
    counts = {}
    for name, params, _ in parse_defines(text):
        if params is None and not wanted(name, HEADERS[0]["prefixes"]):
            family = re.match(r"^[A-Za-z0-9]*_?", name).group()
            counts[family] = counts.get(family, 0) + 1
    for family, n in sorted(counts.items()):
        print("gen_result_codes: winerror.h family not taken: %s (%d)"
              % (family, n), file=sys.stderr)


# ------------------------------------------------------------------ main ---

def find_include_dir(requested):
    candidates = [requested] if requested else list(DEFAULT_INCLUDE_DIRS)
    for d in candidates:
        if os.path.isfile(os.path.join(d, "winerror.h")):
            return d
    return None


def generate(include_dir, log):
    macros, candidates = gather(include_dir, log)
    codes = resolve(macros, candidates, log)
    ranges = find_reserved_ranges(codes)
    for first, last in ranges:
        log.excluded("%s+1..%s-1" % (first.name, last.name),
                     "reserved range, named by offset from its base")
    return build_entries(codes + range_offset_codes(ranges), log)


def check(path, generated):
    try:
        with open(path, encoding="utf-8", newline="") as f:
            current = f.read()
    except OSError as err:
        print("gen_result_codes: cannot read %s: %s" % (path, err),
              file=sys.stderr)
        return 1
    if current == generated:
        return 0
    diff = list(difflib.unified_diff(current.splitlines(),
                                     generated.splitlines(),
                                     path, "regenerated", lineterm="", n=0))
    body = diff[2:]  # past the ---/+++ file lines
    removed = sum(1 for line in body if line.startswith("-"))
    added = sum(1 for line in body if line.startswith("+"))
    print("gen_result_codes: %s is out of date (%d lines removed, %d added);"
          " run tools/gen_result_codes.py --output %s"
          % (path, removed, added, path), file=sys.stderr)
    for line in diff[:20]:
        print("  " + line, file=sys.stderr)
    if len(diff) > 20:
        print("  ...", file=sys.stderr)
    return 1


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--include-dir",
                        help="MinGW-w64 include directory (default: %s)"
                        % " or ".join(DEFAULT_INCLUDE_DIRS))
    mode = parser.add_mutually_exclusive_group()
    mode.add_argument("--output", help="write the table to FILE")
    mode.add_argument("--check", help="compare FILE with a fresh table")
    parser.add_argument("--summary", action="store_true",
                        help="print names per family prefix to stdout")
    parser.add_argument("--verbose", action="store_true",
                        help="also list excluded names on stderr")
    args = parser.parse_args(argv)

    include_dir = find_include_dir(args.include_dir)
    if include_dir is None:
        where = args.include_dir or " or ".join(DEFAULT_INCLUDE_DIRS)
        print("MinGW-w64 headers not found in %s; skipping" % where,
              file=sys.stderr)
        return SKIP_EXIT

    log = Log(args.verbose)
    entries = generate(include_dir, log)
    if args.verbose:
        report_other_families(include_dir, log)
    log.report()
    text = render(entries)

    status = 0
    if args.check:
        status = check(args.check, text)
    elif args.output:
        with open(args.output, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    elif not args.summary:
        sys.stdout.write(text)
    if args.summary:
        sys.stdout.write(summary(entries))
    return status


if __name__ == "__main__":
    sys.exit(main())
