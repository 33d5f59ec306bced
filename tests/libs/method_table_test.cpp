// The published-method table of every standard library, pinned row by row:
// a method added, renamed or dropped, or a wrong argument count in a table,
// fails here. (The dispatcher's use of the counts is tested with the host.)
#include "libs/app_lib.h"
#include "libs/dialog_lib.h"
#include "libs/file_lib.h"
#include "libs/hardware_lib.h"
#include "libs/hashtable_lib.h"
#include "libs/list_lib.h"
#include "libs/match_base_lib.h"
#include "libs/match_lib.h"
#include "libs/path_lib.h"
#include "libs/properties_lib.h"
#include "libs/regex_lib.h"
#include "libs/simple_list_lib.h"
#include "libs/string_lib.h"
#include "libs/string_list_lib.h"
#include "libs/utility_lib.h"
#include "libs/win32_api_lib.h"
#include "libs/win32_ole_lib.h"
#include "libs/xml_lib.h"
#include "runtime/global_data.h"
#include "runtime/host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace ozra::libs {
namespace {

using runtime::TtsLibBase;
using value::MakeRef;
using Row = std::tuple<std::string, int, int>; // name, minimum, maximum

constexpr int n = TtsLibBase::Unlimited;

std::vector<Row> Sorted(std::vector<Row> rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<Row> Published(const TtsLibBase& library) {
    std::vector<Row> rows;
    for (const runtime::PublishedMethod& method : library.PublishedMethods())
        rows.emplace_back(std::string(method.Name), method.MinArguments, method.MaxArguments);
    return Sorted(rows);
}

TEST(MethodTables, EveryLibraryPublishesItsMethodsWithTheirArgumentCounts) {
    auto host = MakeRef<runtime::TtsHost>();
    runtime::TGlobalData global;
    const struct {
        const char* Library;
        value::Ref<TtsLibBase> Made;
        std::vector<Row> Expected;
    } tables[] = {
        {"String",
         MakeRef<TtsLibString>(*host),
         {{"Compare", 1, 1},
          {"Concat", 1, n},
          {"Contains", 1, 1},
          {"Delete", 2, 2},
          {"EndsWith", 1, 1},
          {"Format", 1, n},
          {"FromPointer", 1, 1},
          {"IndexOf", 1, 1},
          {"IsNullOrEmpty", 0, 0},
          {"Left", 1, 1},
          {"Length", 0, 0},
          {"Quote", 0, 0},
          {"RegexIsMatch", 1, n},
          {"RegexMatch", 1, n},
          {"RegexMatches", 1, n},
          {"RegexMatchs", 1, n},
          {"RegexReplace", 2, n},
          {"RegexSplit", 1, n},
          {"Replace", 2, 2},
          {"Replicate", 1, 1},
          {"Reverse", 0, 0},
          {"Right", 1, 1},
          {"SameTo", 1, 1},
          {"Settings", 1, n},
          {"StartsWith", 1, 1},
          {"SubString", 2, 2},
          {"ToByte", 0, 0},
          {"ToChar", 0, 0},
          {"ToHexString", 0, 0},
          {"ToLower", 0, 0},
          {"ToLowerCamelCase", 0, 0},
          {"ToNumber", 0, 1},
          {"ToUpper", 0, 0},
          {"ToUpperCamelCase", 0, 0},
          {"Trim", 0, 0},
          {"TrimEnd", 0, 0},
          {"TrimStart", 0, 0}}},
        {"File",
         MakeRef<TtsLibFile>(*host),
         {{"Append", 2, 2},
          {"ChangeFileExt", 2, 2},
          {"Copy", 2, 3},
          {"Delete", 1, 1},
          {"Execute", 1, 3},
          {"ExecuteWait", 1, 3},
          {"Exists", 1, 1},
          {"ExpandFileName", 1, 1},
          {"ExtractFileDir", 1, 1},
          {"ExtractFileDrive", 1, 1},
          {"ExtractFileExt", 1, 1},
          {"ExtractFileName", 1, 1},
          {"ExtractFileNameNoExt", 1, 1},
          {"ExtractFilePath", 1, 1},
          {"Find", 1, 3},
          {"GetSize", 1, 1},
          {"GetTime", 1, 2},
          {"GetVersion", 1, 1},
          {"Load", 1, 1},
          {"Move", 2, 2},
          {"Save", 2, 3},
          {"Stream", 1, 2}}},
        {"FileStream", MakeRef<TtsLibFileStream>(*host), {{"Write", 1, 1}, {"Close", 0, 0}}},
        {"Path",
         MakeRef<TtsLibPath>(*host, global),
         {{"CreatePath", 1, 1},
          {"Delete", 1, 1},
          {"Exists", 1, 1},
          {"SystemPath", 0, 0},
          {"SystemLibraryPath", 0, 0},
          {"ProjectPath", 0, 0},
          {"TargetPath", 0, 0},
          {"ExpandSystemPath", 1, 1},
          {"ExpandProjectPath", 1, 1},
          {"ExpandTargetPath", 1, 1}}},
        {"List",
         MakeRef<TtsLibList>(*host),
         {{"List", 0, 0}, {"Hashtable", 0, 0}, {"StringList", 0, 0}, {"SettingList", 0, 0}}},
        {"SimpleList",
         MakeRef<TtsLibSimpleList>(*host),
         {{"Add", 1, 1}, {"IndexOf", 1, 1}, {"Remove", 1, 1}, {"Count", 0, 0}, {"Clear", 0, 0}}},
        {"Hashtable",
         MakeRef<TtsLibHashtable>(*host),
         {{"Add", 2, 2},
          {"Del", 1, 1},
          {"Get", 1, 1},
          {"Find", 1, 1},
          {"Has", 1, 1},
          {"GetKey", 1, 1},
          {"GetObject", 1, 1},
          {"Count", 0, 0},
          {"Clear", 0, 0}}},
        {"StringList",
         MakeRef<TtsLibStringList>(*host),
         {{"Add", 1, 1},
          {"Insert", 2, 2},
          {"IndexOf", 1, 1},
          {"Remove", 1, 1},
          {"Count", 0, 0},
          {"Clear", 0, 0},
          {"Sort", 0, 0},
          {"ToString", 0, 1},
          {"LoadString", 1, 2},
          {"Save", 1, 1},
          {"Load", 1, 1}}},
        {"Properties",
         MakeRef<TObj_Lib_Properties>(*host),
         {{"GetName", 1, 1},
          {"GetValue", 1, 1},
          {"SetValue", 2, 2},
          {"Insert", 3, 3},
          {"Remove", 1, 1},
          {"Count", 0, 0},
          {"Clear", 0, 0},
          {"ToString", 0, 1},
          {"LoadString", 1, 2},
          {"Save", 1, 1},
          {"ToFile", 1, 1},
          {"Load", 1, 1},
          {"LoadFile", 1, 1},
          {"Copy", 1, 1}}},
        {"XML", MakeRef<TtsLibXML>(*host), {{"Document", 0, 1}}},
        {"XmlDocument",
         MakeRef<TtsLibXmlDocument>(*host),
         {{"Clear", 0, 0},
          {"LoadFromFile", 1, 2},
          {"LoadFile", 1, 2},
          {"LoadFromString", 1, 2},
          {"LoadString", 1, 2},
          {"Locate", 1, 1},
          {"Root", 0, 0},
          {"SaveToFile", 1, 3},
          {"ToFile", 1, 3},
          {"ToString", 0, 2}}},
        {"XmlNode",
         MakeRef<TtsLibXmlNode>(*host),
         {{"Name", 0, 0},
          {"Value", 0, 0},
          {"Index", 0, 0},
          {"Level", 0, 0},
          {"Path", 0, 0},
          {"Parent", 0, 0},
          {"Nodes", 0, 0},
          {"Props", 0, 0},
          {"Attrs", 0, 0},
          {"Find", 1, 1},
          {"FindByProp", 2, 3},
          {"Delete", 0, 0},
          {"ToFile", 1, 2},
          {"ToString", 0, 1},
          {"LoadFile", 1, 1},
          {"LoadString", 1, 1},
          {"Copy", 1, 1},
          {"CopyValue", 1, 1}}},
        {"XmlNodeList",
         MakeRef<TtsLibXmlNodeList>(*host),
         {{"Add", 1, 2}, {"Delete", 1, 1}, {"Clear", 0, 0}, {"Count", 0, 0}}},
        {"Text", MakeRef<TtsLibText>(*host), {{"Regex", 2, 2}}},
        {"Regex", MakeRef<TtsLibRegex>(*host), {{"Match", 1, 1}}},
        {"Match",
         MakeRef<TtsLibMatch>(*host),
         {{"Success", 0, 0},
          {"Value", 0, 0},
          {"GroupCount", 0, 0},
          {"Groups", 1, 1},
          {"GroupByName", 1, 1},
          {"NextMatch", 0, 0},
          {"UnmatchedValue", 0, 0},
          {"Abort", 0, 0}}},
        {"Group",
         MakeRef<TtsLibGroup>(*host),
         {{"Index", 0, 0}, {"Length", 0, 0}, {"IsNull", 0, 0}, {"Value", 0, 0}}},
        {"raw Match", MakeRef<raw::TtsLibMatch>(*host), {{"Abort", 0, 0}}},
        {"Utility",
         MakeRef<TtsLibUtility>(*host, global),
         {{"NewGuid", 0, 0},
          {"MD5", 1, 1},
          {"Base64Encode", 1, 1},
          {"Base64Decode", 1, 1},
          {"Base32Encode", 1, 1},
          {"Base32Decode", 1, 1},
          {"CopyToClipboard", 1, 1},
          {"GetClipboardText", 0, 0},
          {"Random", 0, 2},
          {"Randomize", 0, 1},
          {"DecToHex", 1, 1}}},
        {"Dialog",
         MakeRef<TtsLibDialog>(*host, global),
         {{"ColorDialog", 1, 1},
          {"FontDialog", 0, 2},
          {"OpenDialog", 1, 2},
          {"SaveDialog", 2, 3},
          {"FolderDialog", 3, 3}}},
        {"Hardware", MakeRef<TtsLibHardware>(*host), {{"GetCpuID", 0, 0}}},
        {"App", MakeRef<TtsLibApp>(*host, global), {{"Run", 0, 0}}},
        {"Win32Api",
         MakeRef<TtsLibWin32Api>(*host),
         {{"New", 2, 2}, {"Win32Api", 2, 2}, {"Callback", 3, 4}}},
        {"Win32Ole",
         MakeRef<TtsLibWin32Ole>(*host, AutomationClasses::None()),
         {{"New", 1, 1},
          {"Win32Ole", 1, 1},
          {"Get", 1, 1},
          {"Null", 0, n},
          {"Event", 1, 2},
          {"EventSink", 4, 5}}},
    };
    for (const auto& table : tables)
        EXPECT_EQ(Published(*table.Made), Sorted(table.Expected)) << table.Library;
}

} // namespace
} // namespace ozra::libs
