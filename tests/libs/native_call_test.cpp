// Native calls as scripts make them, against the fixture library
// (native_fixture/): every type letter as argument, result and callback
// argument, callbacks and their errors, and every message of the library.
// "%F%" in a case stands for the fixture's path, "%N%" for its copy built
// without unwind tables.
#include "script_support.h"

namespace ozra::libs::testing {
namespace {

std::string WithFixture(std::string text) {
    for (const auto& [token, path] :
         {std::pair{"%F%", OZRA_NATIVE_FIXTURE}, std::pair{"%N%", OZRA_NATIVE_FIXTURE_NOUNWIND}}) {
        for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, at))
            text.replace(at, 3, path);
    }
    return text;
}

void ExpectScriptCases(const std::vector<ScriptCase>& cases) {
    for (const ScriptCase& c : cases) {
        TempFolder folder;
        const ScriptRun run = RunWithLibraries(WithFixture(c.Script), folder.Path);
        EXPECT_EQ(run.Error, WithFixture(c.Error)) << c.Script;
        if (run.Error.empty()) {
            EXPECT_EQ(run.Output, c.Output) << c.Script;
        }
    }
}

// The fixture's functions, declared once for every case.
const std::string Declared = "<.var lib = System.Win32Api.New('%F%', ["
                             "['add3', 'add3', 'iii', 'i'],"
                             "['minusOne', 'minus_one', '', 'I'],"
                             "['minusOneL', 'minus_one', '', 'L'],"
                             "['fill', 'fill', 'PI', 'V'],"
                             "['greeting', 'greeting', '', 'S'],"
                             "['noText', 'no_text', '', 'S'],"
                             "['wideGreeting', 'wide_greeting', '', 'W'],"
                             "['wideLength', 'wide_length', 'W', 'I'],"
                             "['wideReverse', 'wide_reverse', 'W', 'V'],"
                             "['nine', 'nine', 'IIIIIIIIW', 'I'],"
                             "['setInt', 'set_int', 'VI', 'V'],"
                             "['setDouble', 'set_double', 'V', 'V'],"
                             "['pass', 'pass_pointer_sized', 'N', 'N'],"
                             "['each', 'each', 'IC', 'I'],"
                             "['mixed', 'call_mixed', 'C', 'N'],"
                             "['onThread', 'each_on_thread', 'C', 'I'],"
                             "['twice', 'twice', 'I', 'I'],"
                             "['makeHandle', 'make_handle', '', 'P'],"
                             "['useHandle', 'use_handle', 'N', 'I'],"
                             "['useHandleV', 'use_handle', 'V', 'I']])\n";

ScriptCase Case(const std::string& body, std::string output, std::string error = "") {
    return {Declared + body + ".>", std::move(output), std::move(error)};
}

TEST(NativeCalls, IntegerArgumentsAndResults) {
    ExpectScriptCases({
        Case("?? lib.add3(1, 2, 3) ~ ' ' ~ lib.add3('4', 5.4, true)", "6 8\n"),
        Case("?? lib.minusOne() ~ ' ' ~ lib.minusOneL()", "4294967295 4294967295\n"),
        // An unsigned result passes back as a 32-bit argument unchanged.
        Case("?? lib.add3(lib.minusOne(), 1, 0)", "0\n"),
        Case("?? lib.pass('1099511627776') ~ ' ' ~ lib.pass(-5)", "1099511627776 -5\n"),
        Case("?? lib.twice(21)", "42\n"),
        Case("lib.add3('4294967296', 0, 0)", "",
             "Variant of type (String) is out of range for type (Integer)"),
        Case("lib.add3('x', 0, 0)", "",
             "Could not convert variant of type (String) into type (Int64)"),
    });
}

// A handle returned as "P" keeps all 64 bits and passes back with "N"; a
// "V" argument passes the address of the value instead.
TEST(NativeCalls, PointerSizedHandlesRoundTrip) {
    ExpectScriptCases({
        Case("var h = lib.makeHandle()\n?? (h > 4294967295.0) ~ lib.useHandle(h) ~ "
             "lib.useHandleV(h)",
             "True10\n"),
    });
}

TEST(NativeCalls, TextsAndWideTexts) {
    ExpectScriptCases({
        Case("?? lib.greeting() ~ '[' ~ lib.noText() ~ ']'", "hello[]\n"),
        Case("?? lib.wideGreeting() ~ ' ' ~ lib.wideLength('h\u00e9llo \u2713') ~ "
             "lib.wideLength('')",
             "h\u00e9llo \u2713 70\n"),
        Case("var w = 'h\u00e9llo \u2713'\nvar copy = w\nlib.wideReverse(ref w)\n"
             "?? w ~ '|' ~ copy",
             "\u2713 oll\u00e9h|h\u00e9llo \u2713\n"),
    });
}

// Passed with "ref", a text is filled in place, with its length unchanged;
// passed by value, the variable keeps its text; a text shared with a
// literal is copied first, so the literal stays.
TEST(NativeCalls, CalleesWriteThroughPointerArguments) {
    ExpectScriptCases({
        Case("var buffer = '........'\nlib.fill(ref buffer, 3)\n?? buffer ~ buffer.Length()",
             "abc.....8\n"),
        Case("var buffer = '........'\nlib.fill(buffer, 3)\n?? buffer", "........\n"),
        Case("var i\nfor (i = 1 to 2)\n  var b = 'xyz'\n  lib.fill(ref b, 1)\n  = b\nend for",
             "ayzayz"),
        Case("var n = 0\nlib.setInt(ref n, 42)\nvar m = 0\nlib.setInt(m, 7)\n"
             "var d = 0.5\nlib.setDouble(ref d)\n?? n ~ ' ' ~ m ~ ' ' ~ d",
             "42 0 2.25\n"),
        // The system's own pointers are never exposed to a callee.
        Case("var l = System.List.List()\nlib.setInt(ref l, 5)\n?? l.Count()", "0\n"),
        Case("lib.fill('', 0)\n?? 'ok'", "ok\n"),
        Case("var t = 'abc'\n?? lib.nine(1, 2, 3, 4, 5, 6, 7, 8, ref t) ~ t", "39!bc\n"),
    });
}

TEST(NativeCalls, ExportsAndAddresses) {
    ExpectScriptCases({
        {"<.var c = System.Win32Api.Win32Api('libc.so.6', [['strlen', 'strlen', 'S', 'I'],"
         " ['dlsym', 'dlsym', 'NS', 'P']])\n"
         "var abs = System.Win32Api.New('libc.so.6', [['abs', c.dlsym(0, 'abs'), 'I', 'I']])\n"
         "?? c.strlen('') ~ c.strlen('abc') ~ ' ' ~ abs.abs(-7).>",
         "03 7\n"},
        // The integer 0 is a name, not an address.
        {"<.System.Win32Api.New('%F%', [['f', 0, '', 'I']]).f().>", "",
         "GetProcAddress: %F%, 0\n%F%: undefined symbol: 0"},
    });
}

TEST(NativeCalls, CallbacksReceiveEveryLetter) {
    ExpectScriptCases({
        Case("function item(i, t)\n  = i ~ t ~ ';'\n  result = i + 1\nend function\n"
             "?? lib.each(3, System.Win32Api.Callback('item', 'is', 'i'))",
             "0zero;1one;2two;6\n"),
        Case("function mixed(i, s, w, v, n, p, c)\n"
             "  = i ~ '|' ~ s ~ '|' ~ w ~ '|' ~ v ~ '|' ~ n ~ '|' ~ p ~ '|' ~ c ~ '|'\n"
             "  result = '1099511627777'\nend function\n"
             "?? lib.mixed(System.Win32Api.Callback('mixed', 'ISWVNPC', 'N'))",
             "4294967295|text|w\u00efde||1099511627776|||1099511627777\n"),
        // Booleans answer -1, numbers are rounded, numeric texts read.
        Case("function pick(i, t)\n  result = [true, '3', 2.6][i]\nend function\n"
             "?? lib.each(3, System.Win32Api.Callback('pick', 'IS', 'I'))",
             "5\n"),
        Case("class Counter()\n  var hits = 0\n  function Hit(i, t)\n    hits = hits + 1\n"
             "    result = 10\n  end function\nend class\nvar k = Counter()\n"
             "?? lib.each(4, System.Win32Api.Callback('Hit', 'IS', 'I', k)) ~ ' ' ~ k.hits",
             "40 4\n"),
        // A callback may call native code itself.
        Case("function inner(i, t)\n  result = lib.add3(i, i, i)\nend function\n"
             "?? lib.each(3, System.Win32Api.Callback('inner', 'IS', 'I'))",
             "9\n"),
        // Anything but a callback passes NULL for "C".
        Case("?? lib.each(0, 'no callback')", "0\n"),
    });
}

// A failing callback answers 0, is not called again during that native
// call, and its error is raised when the native call returns, also through
// a library without unwind tables.
TEST(NativeCalls, CallbackErrorsSurfaceAfterTheNativeCall) {
    const std::string nounwind =
        "<.var lib = System.Win32Api.New('%N%', [['each', 'each', 'IC', 'I']])\n"
        "function bad(i, t)\n  = i ~ ';'\n  if (i = 1) var x = 1 / 0 end if\n"
        "  result = 1\nend function\n";
    ExpectScriptCases({
        {nounwind + "lib.each(4, System.Win32Api.Callback('bad', 'IS', 'I')).>", "",
         "Division by zero"},
        {nounwind + "try\n  lib.each(4, System.Win32Api.Callback('bad', 'IS', 'I'))\n"
                    "except\n  ?? '/' ~ exception\nend try\n?? 'after'.>",
         "0;1;/Division by zero\nafter\n"},
        // An inner native call's callback error reaches the outer callback
        // as a script error, which it may handle.
        {nounwind + "function outer(i, t)\n  try\n"
                    "    lib.each(2, System.Win32Api.Callback('bad', 'IS', 'I'))\n"
                    "  except\n    = '!'\n  end try\n  result = 1\nend function\n"
                    "?? lib.each(2, System.Win32Api.Callback('outer', 'IS', 'I')).>",
         "0;1;!0;1;!2\n"},
        Case("function item(i, t)\n  = 'ran'\n  result = 1\nend function\n"
             "try\n  ?? lib.onThread(System.Win32Api.Callback('item', 'IS', 'I'))\n"
             "except\n  ?? exception\nend try",
             "callback refused: it was not called on the script's thread during a call.\n"),
    });
}

TEST(NativeCalls, DeclarationErrors) {
    const std::string no = "parameter error.";
    ExpectScriptCases({
        {"<.System.Win32Api.New('%F%', 5).>", "", no},
        {"<.System.Win32Api.New('%F%', []).>", "", no},
        {"<.System.Win32Api.New('%F%', [5]).>", "", no},
        {"<.System.Win32Api.New('%F%', [['f', 'f', 'I']]).>", "", no},
        {"<.System.Win32Api.New('%F%', [['f', 'f', 'I', 'I', 'I']]).>", "", no},
        {"<.System.Win32Api.New('%F%', [['f', 'f', 'IX', 'I']]).>", "", no},
        {"<.System.Win32Api.New('%F%', [['f', 'f', 'I', '']]).>", "", no},
        {"<.System.Win32Api.New('%F%', [['f', 'f', 'I', 'II']]).>", "", no},
        {"<.System.Win32Api.New('%F%', [['f', System.List.List(), 'I', 'I']]).>", "", no},
        {"<.System.Win32Api.New('%F%', [['f', 'f', '', 'I'], ['F', 'g', '', 'I']]).>", "",
         "F already exists."},
        {"<.System.Win32Api.New('%F%').>", "", "no enough parameters."},
        {"<.System.Win32Api.New('%F%', [], 1).>", "", "too many parameters."},
        // An entry may be a variable holding a set; nothing is loaded yet.
        {"<.var e = ['f', 'f', '', 'I']\nvar x = System.Win32Api.New('no_such_lib', [e])\n"
         "?? 'declared'.>",
         "declared\n"},
    });
}

TEST(NativeCalls, CallErrors) {
    ExpectScriptCases({
        // The library is loaded first, even for an undeclared name.
        {"<.System.Win32Api.New('no_such_lib', [['f', 'f', '', 'I']]).g().>", "",
         "LoadLibrary: no_such_lib\nno_such_lib: cannot open shared object file: No such file or "
         "directory"},
        Case("lib.nosuch()", "", "nosuch not found."),
        // The export is looked up before the arguments are counted.
        {"<.System.Win32Api.New('%F%', [['f', 'missing', 'I', 'I']]).f().>", "",
         "GetProcAddress: %F%, missing\n%F%: undefined symbol: missing"},
        Case("lib.add3(1, 2)", "", "no enough parameters."),
        Case("lib.add3(1, 2, 3, 4)", "", "too many parameters."),
        Case("lib.minusOne(1)", "", "too many parameters."),
        // A bare name is a property read, which no library serves here.
        Case("?? lib.greeting", "", "function greeting not found."),
    });
}

TEST(NativeCalls, CallbackErrors) {
    const std::string no = "parameter error.";
    ExpectScriptCases({
        Case("System.Win32Api.Callback('nowhere', 'I', 'I')", "", no),
        Case("function f(a)\nend function\nSystem.Win32Api.Callback('f', 'Q', 'I')", "", no),
        Case("function f(a)\nend function\nSystem.Win32Api.Callback('f', 'I', '')", "", no),
        Case("class K()\nend class\nSystem.Win32Api.Callback('M', 'I', 'I', K())", "", no),
        Case("System.Win32Api.Callback('f', 'I')", "", "no enough parameters."),
        Case("System.Win32Api.Callback('f', 'I', 'I', 1, 2)", "", "too many parameters."),
    });
}

} // namespace
} // namespace ozra::libs::testing
