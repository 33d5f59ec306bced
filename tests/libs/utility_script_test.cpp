// The utility and hardware libraries as scripts use them: digests, codecs,
// hexadecimal numbers, GUIDs, random numbers, and the processor signature
// against what the kernel reports.
#include "script_support.h"

#include "libs/hardware_lib.h"
#include "libs/utility_lib.h"

#include <fstream>
#include <regex>
#include <set>

namespace ozra::libs::testing {
namespace {

TEST(UtilityScripts, Md5OfTheReferenceSuite) {
    ExpectScriptCases({
        {"<.= System.Utility.MD5(\"\").>", "D41D8CD98F00B204E9800998ECF8427E"},
        {"<.= System.Utility.MD5(\"a\").>", "0CC175B9C0F1B6A831C399E269772661"},
        {"<.= System.Utility.MD5(\"abc\").>", "900150983CD24FB0D6963F7D28E17F72"},
        {"<.= System.Utility.MD5(\"message digest\").>", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"<.= System.Utility.MD5(\"abcdefghijklmnopqrstuvwxyz\").>",
         "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"<.= System.Utility.MD5(\"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789\")"
         ".>",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"<.= System.Utility.MD5(\"1234567890123456789012345678901234567890123456789012345678901234"
         "5678901234567890\").>",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
        {"<.= System.Utility.MD5(\"caf\xC3\xA9\").>", "07117FE4A1EBD544965DC19573183DA2"},
    });
}

TEST(UtilityScripts, CodecsAndHexadecimalNumbers) {
    ExpectScriptCases({
        {"<.= System.Utility.Base64Encode(\"ab\") ~ \" \" ~ System.Utility.Base64Decode(\"YWI=\").>",
         "YWI= ab"},
        {"<.= System.Utility.Base32Encode(\"a\") ~ \"[\" ~ System.Utility.Base32Encode(\"\") ~ \"] \""
         " ~ System.Utility.Base32Decode(\"MFRGGZDF\").>",
         "MEAA0000[] abcde"},
        {"<.System.Utility.Base64Decode(\"YWI\").>", "", "Base64: Incorrect string format"},
        {"<.System.Utility.Base32Decode(\"MEAA000\").>", "", "Base32: Incorrect string format"},
        {"<.foreach (n in [0, 5, 255, 256, 4095, 65535, 2147483647, -1, -256, -2147483648])\n"
         "= System.Utility.DecToHex(n) ~ \" \"\nend foreach.>",
         "00 05 FF 0100 0FFF FFFF 7FFFFFFF FFFFFFFF FFFFFF00 80000000 "},
        {"<.= System.Utility.DecToHex(65536 * 65536) ~ \" \" ~ "
         "System.Utility.DecToHex(-65536 * 65536).>",
         "0100000000 FFFFFFFF00000000"},
    });
}

TEST(UtilityScripts, GuidsHaveTheirFormAndDoNotRepeat) {
    const ScriptRun run = RunWithLibraries("<.= System.Utility.NewGuid().>", "/tmp/");
    const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    EXPECT_TRUE(std::regex_match(run.Output, form)) << run.Output;
    std::set<std::string> seen;
    for (int i = 0; i < 10000; ++i) {
        const std::string guid = NewGuidText();
        ASSERT_TRUE(std::regex_match(guid, form)) << guid;
        seen.insert(guid);
    }
    EXPECT_EQ(seen.size(), 10000u);
}

TEST(UtilityScripts, RandomNumbersKeepToTheirRanges) {
    // Each range is drawn often enough that every value shows up.
    ExpectScriptCases({
        {"<.var lo = 99\nvar hi = -99\nfor (i = 1 to 2000)\nvar r = System.Utility.Random(5, 3)\n"
         "if (r < lo) lo = r end if\nif (r > hi) hi = r end if\nend for\n= lo ~ \"..\" ~ hi.>",
         "0..4"},
        {"<.var lo = 99\nvar hi = -99\nfor (i = 1 to 500)\nvar r = System.Utility.Random(3, 5)\n"
         "if (r < lo) lo = r end if\nif (r > hi) hi = r end if\nend for\n= lo ~ \"..\" ~ hi.>",
         "3..4"},
        {"<.var lo = 99\nvar hi = -99\nfor (i = 1 to 2000)\nvar r = System.Utility.Random(-3, 2)\n"
         "if (r < lo) lo = r end if\nif (r > hi) hi = r end if\nend for\n= lo ~ \"..\" ~ hi.>",
         "-3..1"},
        {"<.var ok = true\nfor (i = 1 to 1000)\nvar r = System.Utility.Random()\n"
         "if (r < 0 or r >= 1) ok = false end if\nend for\n= ok.>",
         "True"},
        {"<.System.Utility.Random(0).>", "", "Random: the range [0, 0) is empty."},
        {"<.System.Utility.Random(-2, -5).>", "", "Random: the range [0, -2) is empty."},
    });
}

TEST(UtilityScripts, AFixedSeedRepeatsItsSequence) {
    const char* script =
        "<.System.Utility.Randomize(42).><.= System.Utility.Random(100) ~ \",\" ~ "
        "System.Utility.Random(100) ~ \",\" ~ System.Utility.Random(100).>|"
        "<.System.Utility.Randomize(42).><.= System.Utility.Random(100) ~ \",\" ~ "
        "System.Utility.Random(100) ~ \",\" ~ System.Utility.Random(100).>";
    const ScriptRun first = RunWithLibraries(script, "/tmp/");
    const ScriptRun second = RunWithLibraries(script, "/tmp/");
    ASSERT_EQ(first.Error, "");
    const std::size_t bar = first.Output.find('|');
    ASSERT_NE(bar, std::string::npos) << first.Output;
    EXPECT_TRUE(std::regex_match(first.Output.substr(0, bar), std::regex("\\d+,\\d+,\\d+")));
    EXPECT_EQ(first.Output.substr(0, bar), first.Output.substr(bar + 1));
    EXPECT_EQ(first.Output, second.Output) << "another run, the same seed";
}

// The fields of /proc/cpuinfo's first processor.
std::map<std::string, std::string> CpuInfo() {
    std::map<std::string, std::string> fields;
    std::ifstream in("/proc/cpuinfo");
    for (std::string line; std::getline(in, line) && !line.empty();) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string name = line.substr(0, colon);
        name.erase(name.find_last_not_of(" \t") + 1);
        fields[name] = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
    }
    return fields;
}

TEST(HardwareScripts, TheSignatureAgreesWithTheKernel) {
    EXPECT_EQ(ProcessorSignatureText(std::array<std::uint32_t, 4>{0x000906EA, 0, 1, 0xFFFF}),
              "000906EA--0001-FFFF");
    EXPECT_EQ(ProcessorSignatureText(std::nullopt), "");

    const ScriptRun run = RunWithLibraries("<.= System.Hardware.GetCpuID().>", "/tmp/");
    const auto registers = ProcessorSignature();
    const auto info = CpuInfo();
    if (!registers || !info.count("cpu family")) GTEST_SKIP() << "not an x86 processor";
    const std::regex form("([0-9A-F]{4}){0,2}(-([0-9A-F]{4}){0,2}){3}");
    ASSERT_TRUE(std::regex_match(run.Output, form)) << run.Output;
    const std::uint32_t eax = std::stoul(run.Output.substr(0, run.Output.find('-')), nullptr, 16);
    const std::uint32_t baseFamily = eax >> 8 & 0xF;
    const std::uint32_t family = baseFamily == 0xF ? baseFamily + (eax >> 20 & 0xFF) : baseFamily;
    const std::uint32_t model = baseFamily == 0x6 || baseFamily == 0xF
                                    ? (eax >> 16 & 0xF) << 4 | (eax >> 4 & 0xF)
                                    : eax >> 4 & 0xF;
    EXPECT_EQ(std::to_string(family), info.at("cpu family"));
    EXPECT_EQ(std::to_string(model), info.at("model"));
    EXPECT_EQ(std::to_string(eax & 0xF), info.at("stepping"));
    const std::string flags = " " + info.at("flags") + " ";
    const std::uint32_t edx = (*registers)[3];
    EXPECT_EQ(flags.find(" sse2 ") != std::string::npos, (edx >> 26 & 1) != 0);
    EXPECT_EQ(flags.find(" fpu ") != std::string::npos, (edx & 1) != 0);
}

} // namespace
} // namespace ozra::libs::testing
