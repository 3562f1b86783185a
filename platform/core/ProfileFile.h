#pragma once
// One private-profile file in memory. Every line keeps the bytes it was read with and its own line end,
// so that saving rewrites only the lines that were edited: comments, blank lines, junk and text in a code
// page that does not decode cleanly all come back exactly as they were.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavrino {

class ProfileFile {
public:
    enum class Encoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Cp949 };
    enum class LoadStatus { Loaded, Missing, Failed };

    // Missing: there is no such file (the object is an empty new file). Failed: the path names something
    // that cannot be read as a file (a folder, no permission, far too large or of far too many lines);
    // the object is then empty and must not be saved over it.
    LoadStatus Load(const std::string& path);
    // What tells one state of a file from another without reading it: the file itself, its size, and
    // when its contents and its attributes last changed (nanoseconds since the epoch).
    struct Stamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t changedNs = 0;
        bool operator==(const Stamp& o) const {
            return device == o.device && inode == o.inode && size == o.size && modifiedNs == o.modifiedNs &&
                   changedNs == o.changedNs;
        }
    };
    // The whole contents of the file, as Load reads them, without parsing them; with the file's stamp as
    // it was when the reading began.
    static LoadStatus ReadBytes(const std::string& path, std::string& bytes, Stamp* stamp = nullptr);
    // The stamp of a regular file, taken through an opening of it (so that a network file system checks
    // it with its server); nothing for anything else.
    static std::optional<Stamp> StampOf(const std::string& path);
    // Takes the file's whole contents. One code page reads the whole file, as the original platform
    // decides it: a byte-order mark says UTF-8 or UTF-16; without one the file is CP949, unless its
    // bytes as a whole are well-formed UTF-8 with some text beyond ASCII (files saved by editors here),
    // then UTF-8. A file of ASCII alone, or of nothing, reads the same either way and takes CP949 for its
    // new text, as the original writes it.
    void Parse(const std::string& bytes);
    // The code page a file of these bytes is read in (Parse's rule).
    static Encoding EncodingOf(const std::string& bytes);

    // Section and key names are compared trimmed and case-insensitively. Sections of the same name act as
    // one section: the first key that matches wins. The value comes trimmed and without enclosing quotes.
    std::optional<std::wstring> Value(const std::wstring& section, const std::wstring& key) const;
    std::vector<std::wstring> SectionNames() const;
    std::vector<std::wstring> KeyNames(const std::wstring& section) const;

    // Every change keeps what the rest of the file reads: a line it does not name reads afterwards as it
    // read before, or the change is refused (false) and nothing changes. Without a byte-order mark a
    // change can turn the whole file's code page: a CP949 file whose last bytes that are not UTF-8 go
    // away would read as UTF-8; such a change is refused when any line would then read otherwise.
    //
    // Replaces the key's value in its line, or adds the key at the end of its section, or the section at
    // the end of the file. False when the new lines would not read back as the text: the file's code
    // page cannot hold it. A file of ASCII alone (a new one too) takes such text, and CP949 text that
    // would make it read as UTF-8, in UTF-8 instead: nothing else in it reads otherwise.
    bool SetValue(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    // Remove every occurrence (nothing to remove is no failure).
    bool DeleteKey(const std::wstring& section, const std::wstring& key);
    bool DeleteSection(const std::wstring& section);

    Encoding GetEncoding() const { return m_encoding; }

    // Whether two section or key names name the same thing: compared trimmed and case-folded.
    static bool SameName(const std::wstring& a, const std::wstring& b);
    // What a value written as this text reads back as: trimmed, without one pair of enclosing quotes.
    static std::wstring ValueAsRead(const std::wstring& text);
    // The file's contents as they would be saved.
    std::string Bytes() const;
    // Writes a temporary file next to the target and renames it over the target (following a symbolic
    // link to its file), keeping the target's permissions. False when the target is read-only, not a
    // regular file, or the folder cannot take the temporary file; the target is then untouched.
    bool Save(const std::string& path) const;

private:
    enum class Kind { Other, Blank, Comment, Section, Key };
    struct Line {
        std::string raw; // the bytes in the file's encoding, without the line end
        std::string end; // "\r\n", "\n", or empty on a last line without a line end
        Kind kind = Kind::Other;
        std::wstring name;  // section or key name, trimmed
        std::wstring value; // key value, trimmed and unquoted
        std::wstring text;  // of a line the current change made: the whole text it must read as
        bool fresh = false;
        bool ascii = true; // the raw bytes are ASCII alone
        bool utf8 = true;  // the raw bytes are well-formed UTF-8
    };

    // Sets the line's bytes and what is known of them.
    static void SetRaw(Line& line, std::string raw);
    static void Classify(Line& line, const std::wstring& text);
    static std::wstring Decode(const std::string& raw, Encoding encoding);
    static std::optional<std::string> Encode(const std::wstring& text, Encoding encoding);
    std::wstring Decode(const std::string& raw) const { return Decode(raw, m_encoding); }
    std::optional<std::string> Encode(const std::wstring& text) const { return Encode(text, m_encoding); }
    // A line of the current change, in the file's code page, or in UTF-8 where CP949 cannot hold it.
    std::optional<Line> MakeLine(const std::wstring& text) const;
    // Ends a change: decides the code page the changed file reads in and checks that every line reads as
    // it must; false when one would not (the caller then puts the old lines back).
    bool SettleChange();
    // Runs a change of the lines and settles it; puts everything back when either fails.
    template <typename Change> bool Apply(Change change);
    bool SetLines(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    // Inserts at the index; the line before it gets a line end when it had none.
    void InsertLine(std::size_t at, Line line);
    // Index past the last line of the section whose header is at the index.
    std::size_t SectionEnd(std::size_t header) const;
    std::vector<std::size_t> SectionHeaders(const std::wstring& name) const;

    Encoding m_encoding = Encoding::Utf8;
    std::string m_newline = "\r\n"; // the line end for new lines, in the file's code units
    std::vector<Line> m_lines;
};

} // namespace kavrino
