// The registrar of the script libraries.
//
// The runtime knows no library by name: each library adds a factory here
// (the program that runs scripts does so once at start, from the libraries
// it links), and a run's host is then filled by constructing them all. The
// construction order is fixed by each factory's slot, whatever order the
// factories were added in, because the order of registration decides which
// library serves an object that several could claim. Each factory registers
// its library with the host (`TtsLibBase::RegisterFor`, `RegisterGlobal`).
#pragma once

#include <functional>
#include <vector>

namespace ozra::runtime {

class TGlobalData;
class TtsHost;

// Construction order of the libraries, one slot per registry row.
enum class LibrarySlot {
    DefaultLibrary,  // the string library, for plain values
    MatchBase,
    File,
    Win32Api,
    Win32Ole,
    Objects,
    Runtime,
    OzraScript,
    UI,
    HtmlEvent,
    HtmlElement,
    HtmlElements,
    App,
    Dialog,
    Data,
    Database,
    ObjectSpace,
    ObjectSet,
    DataObject,
    List,
    SimpleList,
    StringList,
    Hashtable,
    Properties,
    Path,
    Xml,
    XmlDocument,
    XmlNode,
    XmlNodeList,
    Utility,
    Hardware,
    Text,
    Group,
    Match,
    Regex,
    FileStream,
    WinForm,
};

class TLibRegister {
public:
    using Factory = std::function<void(TtsHost& host, TGlobalData& global)>;

    // Adds a factory; a second one for the same slot runs after the first.
    void Add(LibrarySlot slot, Factory factory);
    // Constructs every library into the host, in slot order.
    void ConstructAll(TtsHost& host, TGlobalData& global) const;

private:
    struct Entry {
        LibrarySlot Slot;
        Factory Make;
    };

    std::vector<Entry> entries_;
};

}  // namespace ozra::runtime
