// One line a library: its factory, added in any order (the slot decides the
// construction order).
#include "libs/standard_libraries.h"

#include "libs/app_lib.h"
#include "libs/dialog_lib.h"
#include "libs/file_lib.h"
#include "libs/hardware_lib.h"
#include "libs/hashtable_lib.h"
#include "libs/lib_support.h"
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

namespace ozra::libs {

void AddStandardLibraries(runtime::TLibRegister& libraries, const AutomationClasses& classes) {
    using runtime::LibrarySlot;
    libraries.Add(LibrarySlot::DefaultLibrary, &MakeHostLibrary<TtsLibString>);
    libraries.Add(LibrarySlot::MatchBase, &MakeHostLibrary<raw::TtsLibMatch>);
    libraries.Add(LibrarySlot::Text, &MakeHostLibrary<TtsLibText>);
    libraries.Add(LibrarySlot::Group, &MakeHostLibrary<TtsLibGroup>);
    libraries.Add(LibrarySlot::Match, &MakeHostLibrary<TtsLibMatch>);
    libraries.Add(LibrarySlot::Regex, &MakeHostLibrary<TtsLibRegex>);
    libraries.Add(LibrarySlot::File, &MakeHostLibrary<TtsLibFile>);
    libraries.Add(LibrarySlot::Win32Api, &MakeHostLibrary<TtsLibWin32Api>);
    libraries.Add(LibrarySlot::Win32Ole, [&classes](runtime::TtsHost& host, runtime::TGlobalData&) {
        value::MakeRef<TtsLibWin32Ole>(host, classes);
    });
    libraries.Add(LibrarySlot::List, &MakeHostLibrary<TtsLibList>);
    libraries.Add(LibrarySlot::SimpleList, &MakeHostLibrary<TtsLibSimpleList>);
    libraries.Add(LibrarySlot::StringList, &MakeHostLibrary<TtsLibStringList>);
    libraries.Add(LibrarySlot::Hashtable, &MakeHostLibrary<TtsLibHashtable>);
    libraries.Add(LibrarySlot::Properties, &MakeHostLibrary<TObj_Lib_Properties>);
    libraries.Add(LibrarySlot::Path, &MakeRunLibrary<TtsLibPath>);
    libraries.Add(LibrarySlot::Xml, &MakeHostLibrary<TtsLibXML>);
    libraries.Add(LibrarySlot::XmlDocument, &MakeHostLibrary<TtsLibXmlDocument>);
    libraries.Add(LibrarySlot::XmlNode, &MakeHostLibrary<TtsLibXmlNode>);
    libraries.Add(LibrarySlot::XmlNodeList, &MakeHostLibrary<TtsLibXmlNodeList>);
    libraries.Add(LibrarySlot::FileStream, &MakeHostLibrary<TtsLibFileStream>);
    libraries.Add(LibrarySlot::App, &MakeRunLibrary<TtsLibApp>);
    libraries.Add(LibrarySlot::Dialog, &MakeRunLibrary<TtsLibDialog>);
    libraries.Add(LibrarySlot::Utility, &MakeRunLibrary<TtsLibUtility>);
    libraries.Add(LibrarySlot::Hardware, &MakeHostLibrary<TtsLibHardware>);
}

} // namespace ozra::libs
