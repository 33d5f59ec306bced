// The string library's text, number and formatting methods, and its table
// of published methods (the regex methods are in string_regex.cpp).
#include "libs/string_lib.h"

#include "libs/string_format.h"
#include "libs/text_lib_support.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/number_text.h"
#include "value/operators.h"

#include <cmath>
#include <optional>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace ozra::libs {

using namespace text_support;

using front::TtsExpression;
using front::TtsExpressions;
using runtime::TtsLibBase;
using runtime::TtsResult;
using value::EtsRuntime;
using value::TtsValueHelper;

namespace {

std::string Receiver(const TtsExpression& value) {
    return value::ToText(value.Value());
}

std::int32_t IntegerArgument(const TtsExpressions* arguments, int index) {
    return value::ToInteger(TtsLibBase::Argument(arguments, index));
}

std::string TextArgument(const TtsExpressions* arguments, int index) {
    return value::ToText(TtsLibBase::Argument(arguments, index));
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A 32-bit integer: leading blanks, a sign, and decimal digits or, after
// "$", "x", "X" or "0x", up to 32 bits of hexadecimal digits.
std::optional<std::int32_t> ParseScriptInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;
    std::int64_t number = 0;
    for (; i < text.size(); ++i) {
        const int digit =
            hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return std::nullopt;
        number = number * (hex ? 16 : 10) + digit;
        if (number > (hex ? 0xFFFFFFFFll : 0x80000000ll)) return std::nullopt;
    }
    if (hex) number = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    if (negative) number = -number;
    if (number < INT32_MIN || number > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(number);
}

} // namespace

void TtsLibString::Compare(TtsResult& context, TtsExpression& value,
                           const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    using value::CompareResult;
    const CompareResult order = value::TtsOperatorHelper::Compare(
        value.Value(), Argument(arguments, 0), Host().CaseSensitive());
    constexpr int codes[] = {0, -1, 1, -9};
    ReturnInteger(value, codes[static_cast<int>(order)]);
}

void TtsLibString::Concat(TtsResult& context, TtsExpression& value,
                          const TtsExpressions* arguments) {
    CheckArguments(context, arguments, Unlimited, 1);
    std::string text = Receiver(value);
    for (int i = 0; i < ArgumentCount(arguments); ++i)
        text += TextArgument(arguments, i);
    if (text.size() > value::CountedText::MaxLength) throw EtsRuntime::TextTooLong();
    ReturnText(value, text);
}

void TtsLibString::Contains(TtsResult& context, TtsExpression& value,
                            const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const std::string part = TextArgument(arguments, 0);
    ReturnBoolean(value, !part.empty() && Receiver(value).find(part) != std::string::npos);
}

void TtsLibString::Delete(TtsResult& context, TtsExpression& value,
                          const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 2, 2);
    std::string text = Receiver(value);
    const std::int64_t position = IntegerArgument(arguments, 0);
    const std::int64_t count = IntegerArgument(arguments, 1);
    if (position >= 0 && position < static_cast<std::int64_t>(text.size()) && count > 0)
        text.erase(static_cast<std::size_t>(position), static_cast<std::size_t>(count));
    ReturnText(value, text);
}

void TtsLibString::EndsWith(TtsResult& context, TtsExpression& value,
                            const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const std::string part = TextArgument(arguments, 0);
    ReturnBoolean(value, !part.empty() && Receiver(value).ends_with(part));
}

void TtsLibString::Format(TtsResult& context, TtsExpression& value,
                          const TtsExpressions* arguments) {
    CheckArguments(context, arguments, Unlimited, 1);
    std::string format = Receiver(value);
    int first = 0;
    if (format.empty()) {
        format = TextArgument(arguments, 0);
        first = 1;
    }
    std::vector<TtsValue> values;
    for (int i = first; i < ArgumentCount(arguments); ++i)
        values.push_back(Argument(arguments, i));
    ReturnText(value, FormatValues(format, values));
}

// The bytes are read through the kernel (process_vm_readv on this very
// process), so an address that is not readable memory gives a clear error
// instead of a crash.
void TtsLibString::FromPointer(TtsResult& context, TtsExpression& value,
                               const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const std::int64_t address = value::ToInt64(Argument(arguments, 0));
    std::string text;
    if (address != 0) {
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        auto at = static_cast<std::uintptr_t>(address);
        for (;;) {
            char chunk[4096];
            const std::size_t toPageEnd =
                static_cast<std::size_t>(pageSize) - at % static_cast<std::uintptr_t>(pageSize);
            const std::size_t want = std::min(sizeof chunk, toPageEnd);
            iovec local{chunk, want};
            iovec remote{reinterpret_cast<void*>(at), want};
            const ssize_t got = ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0);
            if (got <= 0)
                throw EtsRuntime("address " + std::to_string(address) + " cannot be read.");
            const std::string_view bytes(chunk, static_cast<std::size_t>(got));
            const std::size_t end = bytes.find('\0');
            text.append(bytes.substr(0, end));
            if (end != std::string_view::npos) break;
            if (text.size() > value::CountedText::MaxLength) throw EtsRuntime::TextTooLong();
            at += static_cast<std::uintptr_t>(got);
        }
    }
    ReturnText(value, text);
}

void TtsLibString::IndexOf(TtsResult& context, TtsExpression& value,
                           const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const std::string part = TextArgument(arguments, 0);
    const std::size_t found = part.empty() ? std::string::npos : Receiver(value).find(part);
    ReturnInteger(value, found == std::string::npos ? -1 : static_cast<std::int64_t>(found));
}

// Null is empty too: a test for "null or empty" must not fail on Null.
// Objects are not empty unless the reference is null.
void TtsLibString::IsNullOrEmpty(TtsResult& context, TtsExpression& value,
                                 const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const TtsValue& receiver = value.Value();
    bool empty = TtsValueHelper::IsEmpty(receiver) || receiver.Kind() == value::ValueKind::Null;
    if (!empty && !receiver.IsObject() && receiver.Kind() != value::ValueKind::Automation)
        empty = value::ToText(receiver).empty();
    ReturnBoolean(value, empty);
}

void TtsLibString::Left(TtsResult& context, TtsExpression& value, const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const std::string text = Receiver(value);
    const std::int32_t count = IntegerArgument(arguments, 0);
    ReturnText(value, count <= 0
                          ? std::string_view()
                          : std::string_view(text).substr(0, static_cast<std::size_t>(count)));
}

void TtsLibString::Length(TtsResult& context, TtsExpression& value,
                          const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    ReturnInteger(value, static_cast<std::int64_t>(Receiver(value).size()));
}

void TtsLibString::Quote(TtsResult& context, TtsExpression& value,
                         const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    std::string quoted = "'";
    for (const char c : Receiver(value)) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    quoted += '\'';
    ReturnText(value, quoted);
}

void TtsLibString::Replace(TtsResult& context, TtsExpression& value,
                           const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 2, 2);
    const std::string text = Receiver(value);
    const std::string from = TextArgument(arguments, 0);
    const std::string to = TextArgument(arguments, 1);
    if (from.empty()) {
        ReturnText(value, text);
        return;
    }
    std::string result;
    std::size_t copied = 0;
    for (std::size_t found = text.find(from); found != std::string::npos;
         found = text.find(from, copied)) {
        result.append(text, copied, found - copied);
        result += to;
        copied = found + from.size();
        if (result.size() > value::CountedText::MaxLength) throw EtsRuntime::TextTooLong();
    }
    result.append(text, copied);
    ReturnText(value, result);
}

void TtsLibString::Replicate(TtsResult& context, TtsExpression& value,
                             const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const std::string text = Receiver(value);
    const std::int32_t count = IntegerArgument(arguments, 0);
    if (count <= 0 || text.empty()) {
        ReturnText(value, {});
        return;
    }
    if (text.size() * static_cast<std::size_t>(count) > value::CountedText::MaxLength)
        throw EtsRuntime::TextTooLong();
    std::string result;
    result.reserve(text.size() * static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i)
        result += text;
    ReturnText(value, result);
}

void TtsLibString::Reverse(TtsResult& context, TtsExpression& value,
                           const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const std::string text = Receiver(value);
    ReturnText(value, std::string(text.rbegin(), text.rend()));
}

void TtsLibString::Right(TtsResult& context, TtsExpression& value,
                         const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const std::string text = Receiver(value);
    const std::int32_t count = IntegerArgument(arguments, 0);
    const std::size_t take =
        count <= 0 ? 0 : std::min(text.size(), static_cast<std::size_t>(count));
    ReturnText(value, std::string_view(text).substr(text.size() - take));
}

void TtsLibString::SameTo(TtsResult& context, TtsExpression& value,
                          const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const std::string a = Receiver(value);
    const std::string b = TextArgument(arguments, 0);
    bool same = a.size() == b.size();
    for (std::size_t i = 0; same && i < a.size(); ++i)
        same = AsciiLower(a[i]) == AsciiLower(b[i]);
    ReturnBoolean(value, same);
}

void TtsLibString::Settings(TtsResult& context, TtsExpression& value,
                            const TtsExpressions* arguments) {
    CheckArguments(context, arguments, Unlimited, 1);
    const TtsExpression* flag = NamedArgument(arguments, "Case");
    if (!flag) throw EtsRuntime("parameter Case not found.");
    const bool caseSensitive = value::ToBoolean(flag->Value());
    Host().SetCaseSensitive(caseSensitive);
    ReturnBoolean(value, caseSensitive);
}

void TtsLibString::StartsWith(TtsResult& context, TtsExpression& value,
                              const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const std::string part = TextArgument(arguments, 0);
    ReturnBoolean(value, !part.empty() && Receiver(value).starts_with(part));
}

void TtsLibString::SubString(TtsResult& context, TtsExpression& value,
                             const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 2, 2);
    const std::string text = Receiver(value);
    const std::int64_t position = std::max<std::int64_t>(IntegerArgument(arguments, 0), 0);
    const std::int64_t count = IntegerArgument(arguments, 1);
    if (position >= static_cast<std::int64_t>(text.size()) || count < 0) {
        ReturnText(value, {});
        return;
    }
    ReturnText(value, std::string_view(text).substr(static_cast<std::size_t>(position),
                                                    static_cast<std::size_t>(count)));
}

void TtsLibString::ToByte(TtsResult& context, TtsExpression& value,
                          const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const std::string text = Receiver(value);
    ReturnInteger(value, text.empty() ? 0 : static_cast<unsigned char>(text.front()));
}

void TtsLibString::ToChar(TtsResult& context, TtsExpression& value,
                          const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const char c = static_cast<char>(value::ToInt64(value.Value()) & 0xFF);
    ReturnText(value, std::string_view(&c, 1));
}

void TtsLibString::ToHexString(TtsResult& context, TtsExpression& value,
                               const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : Receiver(value)) {
        const auto code = static_cast<unsigned char>(c);
        hex += digits[code >> 4];
        hex += digits[code & 15];
    }
    ReturnText(value, hex);
}

void TtsLibString::ToLower(TtsResult& context, TtsExpression& value,
                           const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    std::string text = Receiver(value);
    for (char& c : text)
        c = AsciiLower(c);
    ReturnText(value, text);
}

void TtsLibString::ToLowerCamelCase(TtsResult& context, TtsExpression& value,
                                    const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    std::string text = Receiver(value);
    if (!text.empty()) text.front() = AsciiLower(text.front());
    ReturnText(value, text);
}

void TtsLibString::ToNumber(TtsResult& context, TtsExpression& value,
                            const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 0);
    const std::string text = Receiver(value);
    const bool truncate = ArgumentCount(arguments) > 0 && value::ToBoolean(Argument(arguments, 0));
    if (text.find('.') == std::string::npos) {
        const std::optional<std::int32_t> number = ParseScriptInteger(text);
        if (!number) throw EtsRuntime("'" + text + "' is not a valid integer value");
        value.SetValue(truncate ? TtsValue::FromInt64(*number) : TtsValue::FromInt32(*number));
        return;
    }
    const std::optional<double> number = value::ParseDouble(text);
    if (!number || !std::isfinite(*number))
        throw EtsRuntime("'" + text + "' is not a valid floating point value");
    if (!truncate) {
        value.SetValue(TtsValue::FromDouble(*number));
        return;
    }
    const double whole = std::trunc(*number);
    if (whole < -9.2233720368547758e18 || whole >= 9.2233720368547758e18)
        throw EtsRuntime::RangeError("Double", "Int64");
    value.SetValue(TtsValue::FromInt64(static_cast<std::int64_t>(whole)));
}

void TtsLibString::ToUpper(TtsResult& context, TtsExpression& value,
                           const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    std::string text = Receiver(value);
    for (char& c : text)
        c = AsciiUpper(c);
    ReturnText(value, text);
}

void TtsLibString::ToUpperCamelCase(TtsResult& context, TtsExpression& value,
                                    const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    std::string text = Receiver(value);
    if (!text.empty()) text.front() = AsciiUpper(text.front());
    ReturnText(value, text);
}

void TtsLibString::Trim(TtsResult& context, TtsExpression& value, const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const std::string text = Receiver(value);
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    ReturnText(value, std::string_view(text).substr(first, last - first));
}

void TtsLibString::TrimEnd(TtsResult& context, TtsExpression& value,
                           const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const std::string text = Receiver(value);
    std::size_t last = text.size();
    while (last > 0 && IsBlank(text[last - 1]))
        --last;
    ReturnText(value, std::string_view(text).substr(0, last));
}

void TtsLibString::TrimStart(TtsResult& context, TtsExpression& value,
                             const TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const std::string text = Receiver(value);
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    ReturnText(value, std::string_view(text).substr(first));
}

TtsLibString::TtsLibString(runtime::TtsHost& host) : TtsLibBase(host) {
    host.SetDefaultLibrary(*this);
    Publish<TtsLibString>({
        {"Compare", &TtsLibString::Compare},
        {"Concat", &TtsLibString::Concat},
        {"Contains", &TtsLibString::Contains},
        {"Delete", &TtsLibString::Delete},
        {"EndsWith", &TtsLibString::EndsWith},
        {"Format", &TtsLibString::Format},
        {"FromPointer", &TtsLibString::FromPointer},
        {"IndexOf", &TtsLibString::IndexOf},
        {"IsNullOrEmpty", &TtsLibString::IsNullOrEmpty},
        {"Left", &TtsLibString::Left},
        {"Length", &TtsLibString::Length},
        {"Quote", &TtsLibString::Quote},
        {"RegexIsMatch", &TtsLibString::RegexIsMatch},
        {"RegexMatch", &TtsLibString::RegexMatch},
        {"RegexMatches", &TtsLibString::RegexMatchs},
        {"RegexMatchs", &TtsLibString::RegexMatchs},
        {"RegexReplace", &TtsLibString::RegexReplace},
        {"RegexSplit", &TtsLibString::RegexSplit},
        {"Replace", &TtsLibString::Replace},
        {"Replicate", &TtsLibString::Replicate},
        {"Reverse", &TtsLibString::Reverse},
        {"Right", &TtsLibString::Right},
        {"SameTo", &TtsLibString::SameTo},
        {"Settings", &TtsLibString::Settings},
        {"StartsWith", &TtsLibString::StartsWith},
        {"SubString", &TtsLibString::SubString},
        {"ToByte", &TtsLibString::ToByte},
        {"ToChar", &TtsLibString::ToChar},
        {"ToHexString", &TtsLibString::ToHexString},
        {"ToLower", &TtsLibString::ToLower},
        {"ToLowerCamelCase", &TtsLibString::ToLowerCamelCase},
        {"ToNumber", &TtsLibString::ToNumber},
        {"ToUpper", &TtsLibString::ToUpper},
        {"ToUpperCamelCase", &TtsLibString::ToUpperCamelCase},
        {"Trim", &TtsLibString::Trim},
        {"TrimEnd", &TtsLibString::TrimEnd},
        {"TrimStart", &TtsLibString::TrimStart},
    });
}

} // namespace ozra::libs
