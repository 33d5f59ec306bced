// The dialog library.
#include "libs/dialog_lib.h"

#include "data/string_helper.h"
#include "libs/lib_support.h"
#include "runtime/desktop.h"
#include "runtime/host.h"
#include "runtime/setting_list.h"

#include <cstdio>

namespace ozra::libs {

using runtime::DesktopBridge;
using runtime::FileFilter;

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t at = text.find(separator);
        pieces.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return pieces;
        text.remove_prefix(at + 1);
    }
}

std::string_view BoolText(bool flag) {
    return flag ? "true" : "false";
}

} // namespace

std::vector<FileFilter> ParseFileFilter(std::string_view text) {
    std::vector<FileFilter> filters;
    if (text.empty()) return filters;
    const std::vector<std::string_view> fields = Split(text, '|');
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        FileFilter filter{std::string(data::TStringHelper::Trim(fields[i])), {}};
        for (std::string_view pattern : Split(fields[i + 1], ';')) {
            pattern = data::TStringHelper::Trim(pattern);
            if (pattern.empty()) continue;
            filter.Patterns.emplace_back(pattern == "*.*" ? "*" : pattern);
        }
        if (filter.Patterns.empty()) filter.Patterns.emplace_back("*");
        filters.push_back(std::move(filter));
    }
    return filters;
}

std::optional<std::uint32_t> ParseColorText(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint32_t rgb = 0;
    for (char c : text.substr(1)) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return std::nullopt;
        }
        rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
    }
    return rgb;
}

std::string ColorText(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFFu);
    return text;
}

void TtsLibDialog::ColorDialog(LibCall& call, TSys_Impl_Dialog& dialog) {
    const std::string text = call.Text(0);
    std::optional<std::uint32_t> initial;
    if (!text.empty()) initial = ParseColorText(text).value_or(0);
    const std::optional<std::uint32_t> chosen = dialog.Global.Gui.Call(
        "Dialog", [&](DesktopBridge& bridge) { return bridge.ChooseColor(initial); });
    call.ReturnText(chosen ? ColorText(*chosen) : "");
}

void TtsLibDialog::FontDialog(LibCall& call, TSys_Impl_Dialog& dialog) {
    runtime::FontChoice initial;
    initial.Name = call.Text(0);
    if (call.Count() > 1) initial.Size = call.Integer(1);
    const std::optional<runtime::FontChoice> chosen = dialog.Global.Gui.Call(
        "Dialog", [&](DesktopBridge& bridge) { return bridge.ChooseFont(initial); });
    if (!chosen) return;
    const std::uint32_t rgb = chosen->Color;
    const std::uint32_t bgr = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
    auto font = value::MakeRef<runtime::TSettingList>();
    font->SetValue("Name", chosen->Name);
    font->SetValue("Size", std::to_string(chosen->Size));
    font->SetValue("Color", ColorText(bgr));
    font->SetValue("Bold", BoolText(chosen->Bold));
    font->SetValue("Italic", BoolText(chosen->Italic));
    font->SetValue("Underline", BoolText(chosen->Underline));
    font->SetValue("StrikeOut", BoolText(chosen->StrikeOut));
    call.ReturnObject(font.Get());
}

void TtsLibDialog::OpenDialog(LibCall& call, TSys_Impl_Dialog& dialog) {
    const std::vector<FileFilter> filters = ParseFileFilter(call.Text(0));
    const std::string fileName = call.Text(1);
    call.ReturnText(dialog.Global.Gui.Call(
        "Dialog", [&](DesktopBridge& bridge) { return bridge.ChooseOpenFile(filters, fileName); }));
}

void TtsLibDialog::SaveDialog(LibCall& call, TSys_Impl_Dialog& dialog) {
    const std::vector<FileFilter> filters = ParseFileFilter(call.Text(0));
    std::string suffix = call.Text(1);
    if (!suffix.empty() && suffix.front() == '.') suffix.erase(0, 1);
    const std::string fileName = call.Text(2);
    call.ReturnText(dialog.Global.Gui.Call("Dialog", [&](DesktopBridge& bridge) {
        return bridge.ChooseSaveFile(filters, suffix, fileName);
    }));
}

void TtsLibDialog::FolderDialog(LibCall& call, TSys_Impl_Dialog& dialog) {
    const std::string title = call.Text(0);
    const std::string root = call.Text(1);
    const std::string folder = call.Text(2);
    call.ReturnText(dialog.Global.Gui.Call(
        "Dialog", [&](DesktopBridge& bridge) { return bridge.ChooseFolder(title, root, folder); }));
}

TtsLibDialog::TtsLibDialog(runtime::TtsHost& host, runtime::TGlobalData& global)
    : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Dialog>(runtime::AccessAll);
    RegisterGlobal("Dialog", value::MakeRef<TSys_Impl_Dialog>(global).Get());
    Publish({
        {"ColorDialog", Method<&TtsLibDialog::ColorDialog>, 1, 1},
        {"FontDialog", Method<&TtsLibDialog::FontDialog>, 0, 2},
        {"OpenDialog", Method<&TtsLibDialog::OpenDialog>, 1, 2},
        {"SaveDialog", Method<&TtsLibDialog::SaveDialog>, 2, 3},
        {"FolderDialog", Method<&TtsLibDialog::FolderDialog>, 3, 3},
    });
}

} // namespace ozra::libs
