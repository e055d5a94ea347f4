#pragma once

#include <string>
#include <vector>

namespace riz {

// A private-profile file: "[section]" headings, then "key=value" lines. Section and key names
// are compared without regard to case; values are Windows-1252 bytes. Lines the reader does
// not understand (comments, blank lines) are kept as they were. Changes stay in memory until
// UpdateFile, which writes a new file beside the old one and renames it over, so the file on
// disk is always the old or the new one. New files are readable by their owner only.
class TIniFile final
{
public:
    explicit TIniFile(std::string path);

    const std::string& FileName() const { return m_path; }
    // Reads the file again; a missing file gives an empty profile. A file that is there but
    // cannot be read gives an empty profile too, and is then never replaced (see UpdateFile).
    void Reload();
    bool Unreadable() const { return m_unreadable; }

    bool ValueExists(const std::string& section, const std::string& key) const;
    // The value with blanks around it removed; def when the key is missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal integers; def when missing or not a number.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // Any non-zero integer is true.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    // A real with decimal comma or point.
    double ReadFloat(const std::string& section, const std::string& key, double def) const;
    // "dd.mm.yyyy" or "dd.mm.yyyy hh:nn:ss".
    double ReadDateTime(const std::string& section, const std::string& key, double def) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void WriteFloat(const std::string& section, const std::string& key, double value);
    void WriteDateTime(const std::string& section, const std::string& key, double value);
    void DeleteKey(const std::string& section, const std::string& key);

    std::vector<std::string> Sections() const;

    // Writes the profile to the file at once (atomic replace). Throws std::runtime_error
    // when the file cannot be written or could not be read; the old file then stays.
    void UpdateFile();

    // The text forms used for reals and date-times (German regional format).
    static std::string FloatText(double value);
    static std::string DateTimeText(double value);

private:
    struct Line
    {
        std::string text; // the line as read, for lines that are no key
        std::string key;  // empty for other lines
        std::string value;
    };
    struct Section
    {
        std::string name;
        std::vector<Line> lines;
    };

    const Line* Find(const std::string& section, const std::string& key) const;
    Section& SectionFor(const std::string& section);

    std::string m_path;
    std::vector<Line> m_preamble; // lines before the first section
    std::vector<Section> m_sections;
    bool m_unreadable = false;
};

} // namespace riz
