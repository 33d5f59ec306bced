// The dialog library, reached as «System.Dialog»: the standard colour, font,
// open, save and folder dialogs, shown on the run's desktop
// (runtime/desktop.h).
//
// Colours travel as «#RRGGBB» text, except the font dialog's colour, which
// is "#" followed by blue, green and red (the order the stored settings of
// fonts have always used). A cancelled dialog answers "" (the font dialog
// Empty) and raises nothing; without a display every method fails with
// "Dialog: no display available ...".
//
// File filters are written as «description|patterns|description|
// patterns...», several patterns separated by ";" («Text|*.txt;*.log»);
// the pattern «*.*» means every file, with or without a dot in its name.
#pragma once

#include "runtime/desktop_bridge.h"
#include "runtime/global_data.h"
#include "runtime/lib_base.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::libs {

class TSys_Impl_Dialog final : public value::TtsObjectZero {
  public:
    explicit TSys_Impl_Dialog(runtime::TGlobalData& global) : Global(global) {}

    std::string_view ClassName() const override { return "TSys_Impl_Dialog"; }

    runtime::TGlobalData& Global;
};

class TtsLibDialog final : public runtime::TtsLibBase {
  public:
    TtsLibDialog(runtime::TtsHost& host, runtime::TGlobalData& global);

  private:
    void ColorDialog(runtime::LibCall& call, TSys_Impl_Dialog& dialog);
    void FontDialog(runtime::LibCall& call, TSys_Impl_Dialog& dialog);
    void OpenDialog(runtime::LibCall& call, TSys_Impl_Dialog& dialog);
    void SaveDialog(runtime::LibCall& call, TSys_Impl_Dialog& dialog);
    void FolderDialog(runtime::LibCall& call, TSys_Impl_Dialog& dialog);
};

// The filters of a «description|patterns|...» text; a description without
// patterns is dropped.
std::vector<runtime::FileFilter> ParseFileFilter(std::string_view text);
// 0xRRGGBB of «#RRGGBB» (hexadecimal digits in either case), or none.
std::optional<std::uint32_t> ParseColorText(std::string_view text);
// «#RRGGBB» in upper case.
std::string ColorText(std::uint32_t rgb);

} // namespace ozra::libs
