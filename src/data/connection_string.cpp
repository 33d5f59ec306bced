// Parsing connection strings and choosing the back end.
#include "data/connection_string.h"

#include "data/data_error.h"
#include "data/data_link_file.h"
#include "data/odbc_connection.h"
#include "data/schema_info.h"
#include "data/string_helper.h"

#include <filesystem>
#include <optional>

namespace ozra::data {

namespace {

// A pair as it lies in the text: the value's raw span includes its quotes.
struct RawPair {
    std::string Key;
    std::string Value;
    size_t ValueBegin;
    size_t ValueEnd;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Blanks around keys and values, line breaks included.
std::string Trimmed(std::string_view text) {
    return std::string(TStringHelper::Trim(text, " \t\r\n"));
}

// Reads a value that starts with an opening quote or brace at «at»; a
// doubled closing character stands for one.
std::optional<std::string> ReadQuoted(std::string_view text, size_t& at) {
    char close = text[at] == '{' ? '}' : text[at];
    std::string value;
    for (++at; at < text.size(); ++at) {
        if (text[at] != close) {
            value += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == close) {
            value += close;
            ++at;
        } else {
            ++at;
            return value;
        }
    }
    return std::nullopt;
}

std::vector<RawPair> ScanPairs(std::string_view text) {
    std::vector<RawPair> pairs;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (IsBlank(text[at]) || text[at] == ';'))
            ++at;
        if (at >= text.size()) break;
        size_t equals = text.find('=', at);
        size_t semicolon = text.find(';', at);
        if (equals == std::string_view::npos || equals > semicolon)
            throw EDataError("Malformed connection string: \"" +
                             Trimmed(text.substr(at, semicolon - at)) +
                             "\" is not a key=value pair.");
        RawPair pair{Trimmed(text.substr(at, equals - at)), {}, 0, 0};
        at = equals + 1;
        while (at < text.size() && IsBlank(text[at]) && text[at] != ';')
            ++at;
        pair.ValueBegin = at;
        if (at < text.size() && (text[at] == '\'' || text[at] == '"' || text[at] == '{')) {
            std::optional<std::string> value = ReadQuoted(text, at);
            if (!value)
                throw EDataError("Malformed connection string: the value of \"" + pair.Key +
                                 "\" has no closing quote.");
            pair.Value = *value;
            pair.ValueEnd = at;
            while (at < text.size() && IsBlank(text[at]))
                ++at;
            if (at < text.size() && text[at] != ';')
                throw EDataError(
                    "Malformed connection string: text follows the quoted value of \"" + pair.Key +
                    "\".");
        } else {
            size_t end = text.find(';', at);
            if (end == std::string_view::npos) end = text.size();
            pair.Value = Trimmed(text.substr(at, end - at));
            pair.ValueEnd = pair.ValueBegin + pair.Value.size();
            at = end;
        }
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

bool IsPasswordKey(std::string_view key) {
    if (SameName(key, "pwd")) return true;
    std::string lower(key);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return lower.find("password") != std::string::npos;
}

bool StartsWithName(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

bool ContainsName(std::string_view text, std::string_view part) {
    for (size_t i = 0; i + part.size() <= text.size(); ++i)
        if (SameName(text.substr(i, part.size()), part)) return true;
    return false;
}

// A value written so that the ODBC driver manager reads it back unchanged.
std::string OdbcValue(std::string_view value) {
    bool plain = value.find_first_of(";{}= \t") == std::string_view::npos;
    if (plain) return std::string(value);
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}') braced += '}';
    }
    return braced + "}";
}

std::string JoinPairs(const std::vector<ConnectionStringPair>& pairs) {
    std::string text;
    for (const ConnectionStringPair& pair : pairs)
        text += pair.Key + "=" + OdbcValue(pair.Value) + ";";
    return text;
}

std::string OdbcWithDriverOptions(std::string text,
                                  const std::vector<ConnectionStringPair>& pairs) {
    std::string driver;
    if (const std::string* name = FindKey(pairs, "Driver"))
        driver = *name;
    else if (const std::string* dsn = FindKey(pairs, "DSN"))
        driver = OdbcDataSourceDriver(*dsn);
    bool postgres = ContainsName(driver, "postgres") || ContainsName(driver, "psqlodbc");
    if (postgres && !FindKey(pairs, "BoolsAsChar")) {
        if (!text.empty() && text.back() != ';') text += ';';
        text += "BoolsAsChar=0";
    }
    return text;
}

ConnectionTarget OdbcTarget(std::string text) {
    std::vector<ConnectionStringPair> pairs = ParseConnectionString(text);
    return {BackendKind::Odbc, OdbcWithDriverOptions(std::move(text), pairs)};
}

ConnectionTarget SqliteTarget(const std::vector<ConnectionStringPair>& pairs) {
    const std::string* file = nullptr;
    for (const ConnectionStringPair& pair : pairs) {
        if (SameName(pair.Key, "Data Source"))
            file = &pair.Value;
        else if (!SameName(pair.Key, "Provider") && !SameName(pair.Key, "Version"))
            throw EDataError("Unknown key \"" + pair.Key + "\" in a SQLite connection string.");
    }
    if (!file || file->empty())
        throw EDataError("A SQLite connection string needs \"Data Source=file\".");
    return {BackendKind::Sqlite, *file};
}

// «Provider=MSDASQL»: the ODBC string is "Extended Properties" when given,
// otherwise the other pairs, "Data Source" naming the DSN.
ConnectionTarget MsdasqlTarget(const std::vector<ConnectionStringPair>& pairs) {
    if (const std::string* extended = FindKey(pairs, "Extended Properties"))
        return OdbcTarget(*extended);
    std::vector<ConnectionStringPair> odbc;
    for (const ConnectionStringPair& pair : pairs) {
        if (SameName(pair.Key, "Provider") || SameName(pair.Key, "Persist Security Info")) continue;
        static constexpr std::pair<std::string_view, std::string_view> renames[] = {
            {"Data Source", "DSN"}, {"User ID", "UID"}, {"Password", "PWD"}};
        std::string key = pair.Key;
        for (const auto& [from, to] : renames)
            if (SameName(key, from)) key = to;
        odbc.push_back({key, pair.Value});
    }
    return OdbcTarget(JoinPairs(odbc));
}

// An OLE DB style PostgreSQL string, its keys renamed for psqlODBC.
ConnectionTarget PostgresTarget(const std::vector<ConnectionStringPair>& pairs) {
    static constexpr std::pair<std::string_view, std::string_view> renames[] = {
        {"Data Source", "Server"}, {"Host", "Server"},
        {"Location", "Database"},  {"Initial Catalog", "Database"},
        {"User ID", "Uid"},        {"User", "Uid"},
        {"Username", "Uid"},       {"Password", "Pwd"},
    };
    std::vector<ConnectionStringPair> odbc{{"Driver", "PostgreSQL Unicode"}};
    for (const ConnectionStringPair& pair : pairs) {
        if (SameName(pair.Key, "Provider") || SameName(pair.Key, "Persist Security Info")) continue;
        std::string key = pair.Key;
        for (const auto& [from, to] : renames)
            if (SameName(key, from)) key = to;
        odbc.push_back({key, pair.Value});
    }
    return OdbcTarget(JoinPairs(odbc));
}

[[noreturn]] void RefuseProvider(std::string_view provider) {
    std::string quoted = "\"" + std::string(provider) + "\"";
    if (StartsWithName(provider, "Microsoft.Jet.OLEDB") ||
        StartsWithName(provider, "Microsoft.ACE.OLEDB"))
        throw EDataError("The Access OLE DB provider " + quoted +
                         " does not exist on this system: use a SQLite copy of the database "
                         "(\"Data Source=file.db\") or an ODBC driver (\"Driver={...};...\").");
    if (StartsWithName(provider, "SQLOLEDB") || StartsWithName(provider, "SQLNCLI") ||
        StartsWithName(provider, "MSOLEDBSQL"))
        throw EDataError("The SQL Server OLE DB provider " + quoted +
                         " does not exist on this system: use Microsoft's ODBC driver instead "
                         "(\"Driver={ODBC Driver 18 for SQL Server};Server=...;Database=...\").");
    if (StartsWithName(provider, "OraOLEDB") || StartsWithName(provider, "MSDAORA"))
        throw EDataError("The Oracle OLE DB provider " + quoted +
                         " does not exist on this system: use Oracle's ODBC driver instead "
                         "(\"Driver={...};DBQ=...;UID=...\").");
    throw EDataError("Unknown provider " + quoted +
                     ": use a SQLite file (\"Data Source=file.db\") or an ODBC connection "
                     "string (\"DSN=...\" or \"Driver={...};...\").");
}

ConnectionTarget Resolve(std::string_view text, bool inDataLink) {
    std::string trimmed = Trimmed(text);
    if (trimmed.empty()) throw EDataError("The connection string is empty.");
    std::error_code ignored;
    if (trimmed.find('=') == std::string::npos ||
        std::filesystem::is_regular_file(trimmed, ignored))
        return {BackendKind::Sqlite, trimmed};
    std::vector<ConnectionStringPair> pairs = ParseConnectionString(trimmed);
    if (const std::string* file = FindKey(pairs, "File Name")) {
        if (inDataLink)
            throw EDataError("The data link file names another data link file \"" + *file + "\".");
        return Resolve(ReadDataLinkFile(*file), true);
    }
    const std::string* provider = FindKey(pairs, "Provider");
    if (!provider) {
        if (FindKey(pairs, "DSN") || FindKey(pairs, "Driver") || FindKey(pairs, "FILEDSN"))
            return OdbcTarget(trimmed);
        return SqliteTarget(pairs);
    }
    if (StartsWithName(*provider, "SQLite")) return SqliteTarget(pairs);
    if (StartsWithName(*provider, "MSDASQL")) return MsdasqlTarget(pairs);
    if (StartsWithName(*provider, "PostgreSQL") || StartsWithName(*provider, "PGNP"))
        return PostgresTarget(pairs);
    RefuseProvider(*provider);
}

// The text with its password values masked. Values that hold a string of
// their own (ODBC's "Extended Properties") are masked one level deep: that
// is as deep as such strings nest.
std::string Mask(std::string_view text, bool nested) {
    std::vector<RawPair> pairs;
    try {
        pairs = ScanPairs(text);
    } catch (const EDataError&) {
        // Text that does not parse is shown only up to its first password
        // key.
        for (size_t i = 0; i < text.size(); ++i)
            if (StartsWithName(text.substr(i), "pwd") || StartsWithName(text.substr(i), "password"))
                return std::string(text.substr(0, i)) + "***";
        return std::string(text);
    }
    std::string masked;
    size_t copied = 0;
    for (const RawPair& pair : pairs) {
        std::string replacement;
        if (IsPasswordKey(pair.Key)) {
            replacement = "***";
        } else if (nested && pair.Value.find('=') != std::string::npos) {
            std::string inner = Mask(pair.Value, false);
            if (inner == pair.Value) continue;
            replacement = "\"";
            for (char c : inner) {
                replacement += c;
                if (c == '"') replacement += '"';
            }
            replacement += "\"";
        } else {
            continue;
        }
        masked.append(text, copied, pair.ValueBegin - copied);
        masked += replacement;
        copied = pair.ValueEnd;
    }
    masked.append(text.substr(copied));
    return masked;
}

} // namespace

std::vector<ConnectionStringPair> ParseConnectionString(std::string_view text) {
    std::vector<ConnectionStringPair> pairs;
    for (RawPair& pair : ScanPairs(text))
        pairs.push_back({std::move(pair.Key), std::move(pair.Value)});
    return pairs;
}

const std::string* FindKey(const std::vector<ConnectionStringPair>& pairs, std::string_view key) {
    for (const ConnectionStringPair& pair : pairs)
        if (SameName(pair.Key, key)) return &pair.Value;
    return nullptr;
}

ConnectionTarget ResolveConnectionString(std::string_view text) {
    return Resolve(text, false);
}

std::string MaskPasswords(std::string_view text) {
    return Mask(text, true);
}

} // namespace ozra::data
