// Library factories in their construction order.
#include "runtime/lib_register.h"

#include <algorithm>

namespace ozra::runtime {

void TLibRegister::Add(LibrarySlot slot, Factory factory) {
    const auto after =
        std::upper_bound(entries_.begin(), entries_.end(), slot,
                         [](LibrarySlot s, const Entry& entry) { return s < entry.Slot; });
    entries_.insert(after, Entry{slot, std::move(factory)});
}

void TLibRegister::ConstructAll(TtsHost& host, TGlobalData& global) const {
    for (const Entry& entry : entries_)
        entry.Make(host, global);
}

} // namespace ozra::runtime
