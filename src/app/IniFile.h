#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// Why an INI file could not be read or written, or why a name or value cannot be stored.
struct IniError
{
    enum class Kind
    {
        kNotFound,     // no file at the path (not a fault for a first run)
        kNotAFile,     // a directory, a pipe or a device sits at the path
        kTooLarge,     // larger than IniFile::kMaxFileBytes
        kReadFailed,   // the system refused to read it
        kInvalidName,  // a section or key name the format cannot hold
        kInvalidValue, // a value with a line break
        kWriteFailed,  // the atomic write failed; the file on disk is unchanged
    };

    Kind kind;
    std::filesystem::path path; // empty for kInvalidName and kInvalidValue
    std::error_code code;       // the system's reason, where there is one

    // One line for a person.
    std::string Describe() const;
};

// The leading decimal digits of `text` as an unsigned 32-bit number, the way the platform's
// private-profile integer reader takes them: one optional '+', then digits; whatever follows the
// digits is ignored ("512 frames" reads as 512). No value (nullopt) when there is no leading digit
// (empty text, words, negative numbers such as "-5") or when the number exceeds 4294967295, so a
// caller falls back to its default instead of using a wrapped or clamped value. Leading zeros are
// allowed in any number.
std::optional<std::uint32_t> ParseUnsignedDecimal(std::string_view text) noexcept;

// An INI document with the private-profile rules:
// - a line "[name]" starts a section; "key=value" lines belong to the section above them; lines
//   before the first section, lines without '=', blank lines and comments (';' or '#' first) are
//   kept as they stand but never read;
// - section and key names match without regard to ASCII letter case; the first section of a name
//   and the first key of a name within it count;
// - spaces and tabs around names and values are ignored; a value wrapped in one pair of double
//   quotes reads without them (the writer adds them where a value needs them to round-trip);
// - writing replaces an existing key's line where it stands, appends a new key after the last key
//   of its section, and appends a new section at the end of the document;
// - line ends may be LF, CR LF or CR; a document read with CR LF is written with CR LF, otherwise
//   LF; a leading UTF-8 byte order mark is skipped. Any bytes at all (binary junk, NUL) are
//   tolerated and simply fail to form keys.
// Values have no length limit of their own; a file is read only up to kMaxFileBytes.
// Not thread-safe: one thread uses a document at a time.
class IniFile
{
public:
    static constexpr std::uintmax_t kMaxFileBytes = 16u * 1024u * 1024u;

    IniFile() = default;
    // A document from text in memory.
    static IniFile Parse(std::string_view text);

    // Replaces the document with the file at `path`. On failure the document is left empty.
    std::optional<IniError> Load(const std::filesystem::path& path);
    // Writes the document to `path` atomically (see WriteFileAtomically): on failure the file on
    // disk is exactly as before.
    std::optional<IniError> Save(const std::filesystem::path& path) const;

    // The value, or nullopt when the section or key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    // `defaultValue` also when the value has no leading digits or is too large (see
    // ParseUnsignedDecimal).
    std::uint32_t GetUnsigned(std::string_view section, std::string_view key,
                              std::uint32_t defaultValue) const;

    // Stores a value under the private-profile rules. A section name must be non-empty, without
    // ']' or a line break and without surrounding blanks; a key must be non-empty, without '=' or a
    // line break, must not start with '[', ';' or '#' and must have no surrounding blanks; a value
    // must not contain a line break. On an error the document is unchanged.
    std::optional<IniError> SetString(std::string_view section, std::string_view key,
                                      std::string_view value);
    // Written as unsigned decimal.
    std::optional<IniError> SetUnsigned(std::string_view section, std::string_view key,
                                        std::uint32_t value);

    // The document as it would be written.
    std::string Text() const;

private:
    struct Line
    {
        enum class Kind
        {
            kOther, // blank, comment, junk
            kSection,
            kKey,
        };
        std::string text;
        Kind kind = Kind::kOther;
        std::string name;  // section name or key name, trimmed
        std::string value; // key value, trimmed and unquoted
    };

    static Line Classify(std::string text);
    // Index of the first header line of `section`, or nullopt.
    std::optional<std::size_t> FindSection(std::string_view section) const;
    // Index of the first key line of `key` in the section whose header is at `header`, or nullopt.
    std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;

    std::vector<Line> mLines;
    bool mByteOrderMark = false; // the text began with one, and is written with it
    bool mCrLf = false;
};
