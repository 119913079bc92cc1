#include "app/IniFile.h"

#include "core/AtomicFile.h"
#include "core/BoundedFileRead.h"

#include <limits>

namespace
{
namespace fs = std::filesystem;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool HasSurroundingBlanks(std::string_view text)
{
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

bool IsQuoted(std::string_view text)
{
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

bool ValidSectionName(std::string_view name)
{
    return !name.empty() && !HasLineBreak(name) && !HasSurroundingBlanks(name) &&
           name.find(']') == std::string_view::npos;
}

bool ValidKeyName(std::string_view key)
{
    return !key.empty() && !HasLineBreak(key) && !HasSurroundingBlanks(key) &&
           key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';' &&
           key.front() != '#';
}

// The value as it goes into the file: quoted when reading would otherwise lose blanks at its ends
// or a pair of quotes around it.
std::string EncodeValue(std::string_view value)
{
    if (HasSurroundingBlanks(value) || IsQuoted(value))
        return "\"" + std::string(value) + "\"";
    return std::string(value);
}

std::string DescribeKind(IniError::Kind kind)
{
    switch (kind)
    {
    case IniError::Kind::kNotFound:
        return "no such file";
    case IniError::Kind::kNotAFile:
        return "not a regular file";
    case IniError::Kind::kTooLarge:
        return "file too large";
    case IniError::Kind::kReadFailed:
        return "cannot read";
    case IniError::Kind::kInvalidName:
        return "invalid section or key name";
    case IniError::Kind::kInvalidValue:
        return "value contains a line break";
    case IniError::Kind::kWriteFailed:
        return "cannot write";
    }
    return "error";
}
} // namespace

std::string IniError::Describe() const
{
    std::string line = DescribeKind(kind);
    if (!path.empty())
        line += " \"" + path.string() + "\"";
    if (code)
        line += ": " + code.message();
    return line;
}

std::optional<std::uint32_t> ParseUnsignedDecimal(std::string_view text) noexcept
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;

    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > kMax)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

IniFile::Line IniFile::Classify(std::string text)
{
    Line line;
    const std::string_view trimmed = Trim(text);
    if (!trimmed.empty() && trimmed.front() == '[')
    {
        // A header without its ']' still starts a section, so the keys under it do not leak into
        // the section above.
        std::string_view name = trimmed.substr(1);
        name = name.substr(0, name.find(']'));
        line.kind = Line::Kind::kSection;
        line.name = std::string(Trim(name));
    }
    else if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#')
    {
        const std::size_t equals = trimmed.find('=');
        if (equals != std::string_view::npos)
        {
            const std::string_view key = Trim(trimmed.substr(0, equals));
            std::string_view value = Trim(trimmed.substr(equals + 1));
            if (IsQuoted(value))
                value = value.substr(1, value.size() - 2);
            if (!key.empty())
            {
                line.kind = Line::Kind::kKey;
                line.name = std::string(key);
                line.value = std::string(value);
            }
        }
    }
    line.text = std::move(text);
    return line;
}

IniFile IniFile::Parse(std::string_view text)
{
    IniFile file;
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    {
        text.remove_prefix(kByteOrderMark.size());
        file.mByteOrderMark = true;
    }

    bool lineEndSeen = false;
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
        {
            file.mLines.push_back(Classify(std::string(text.substr(start))));
            break;
        }
        file.mLines.push_back(Classify(std::string(text.substr(start, end - start))));
        std::size_t next = end + 1;
        const bool crLf = text[end] == '\r' && next < text.size() && text[next] == '\n';
        if (crLf)
            ++next;
        if (!lineEndSeen)
        {
            file.mCrLf = crLf;
            lineEndSeen = true;
        }
        start = next;
    }
    return file;
}

std::optional<IniError> IniFile::Load(const fs::path& path)
{
    mLines.clear();
    mCrLf = false;

    std::error_code reason;
    auto read = ReadFileBelow(path, kMaxFileBytes + 1, &reason);
    if (const FileReadError* error = std::get_if<FileReadError>(&read))
    {
        switch (*error)
        {
        case FileReadError::kNotFound:
            return IniError{IniError::Kind::kNotFound, path, {}};
        case FileReadError::kNotAFile:
            return IniError{IniError::Kind::kNotAFile, path, {}};
        case FileReadError::kTooLarge:
            return IniError{IniError::Kind::kTooLarge, path, {}};
        case FileReadError::kCannotOpen:
            break;
        }
        return IniError{IniError::Kind::kReadFailed, path, reason};
    }
    *this = Parse(std::get<std::string>(read));
    return std::nullopt;
}

std::optional<IniError> IniFile::Save(const fs::path& path) const
{
    if (auto error = WriteFileAtomically(path, Text()))
        return IniError{IniError::Kind::kWriteFailed, path, error->code};
    return std::nullopt;
}

std::optional<std::size_t> IniFile::FindSection(std::string_view section) const
{
    for (std::size_t i = 0; i < mLines.size(); ++i)
    {
        if (mLines[i].kind == Line::Kind::kSection && EqualNoCase(mLines[i].name, section))
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::FindKey(std::size_t header, std::string_view key) const
{
    for (std::size_t i = header + 1; i < mLines.size(); ++i)
    {
        if (mLines[i].kind == Line::Kind::kSection)
            break;
        if (mLines[i].kind == Line::Kind::kKey && EqualNoCase(mLines[i].name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const
{
    const auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    const auto line = FindKey(*header, key);
    if (!line)
        return std::nullopt;
    return mLines[*line].value;
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const
{
    auto value = Find(section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

std::uint32_t IniFile::GetUnsigned(std::string_view section, std::string_view key,
                                   std::uint32_t defaultValue) const
{
    const auto value = Find(section, key);
    if (!value)
        return defaultValue;
    return ParseUnsignedDecimal(*value).value_or(defaultValue);
}

std::optional<IniError> IniFile::SetString(std::string_view section, std::string_view key,
                                           std::string_view value)
{
    if (!ValidSectionName(section) || !ValidKeyName(key))
        return IniError{IniError::Kind::kInvalidName, {}, {}};
    if (HasLineBreak(value))
        return IniError{IniError::Kind::kInvalidValue, {}, {}};

    Line entry = Classify(std::string(key) + "=" + EncodeValue(value));
    const auto header = FindSection(section);
    if (!header)
    {
        mLines.push_back(Classify("[" + std::string(section) + "]"));
        mLines.push_back(std::move(entry));
        return std::nullopt;
    }
    if (const auto existing = FindKey(*header, key))
    {
        mLines[*existing] = std::move(entry);
        return std::nullopt;
    }

    std::size_t insertAt = *header + 1;
    for (std::size_t i = *header + 1; i < mLines.size(); ++i)
    {
        if (mLines[i].kind == Line::Kind::kSection)
            break;
        if (mLines[i].kind == Line::Kind::kKey)
            insertAt = i + 1;
    }
    mLines.insert(mLines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
    return std::nullopt;
}

std::optional<IniError> IniFile::SetUnsigned(std::string_view section, std::string_view key,
                                             std::uint32_t value)
{
    return SetString(section, key, std::to_string(value));
}

std::string IniFile::Text() const
{
    const std::string_view lineEnd = mCrLf ? "\r\n" : "\n";
    // The mark read goes back, so that what follows it (even a second mark) reads the same again.
    std::string text = mByteOrderMark ? "\xEF\xBB\xBF" : "";
    for (const Line& line : mLines)
    {
        text += line.text;
        text += lineEnd;
    }
    return text;
}
