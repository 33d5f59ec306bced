// Names and messages cross into Qt as UTF-8, the system's code page. File
// contents never do: they stay bytes (script_editor.h).
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace ozra::ide::gui {

inline QString FromBytes(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToBytes(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace ozra::ide::gui
