#include "protocol/cstable.h"

#include "protocol/ansicase.h"
#include "protocol/cserror.h"

#include <cstring>

namespace riz {
using ansi::SameText;

void TCSTable::SetColumnCount(std::int32_t n)
{
    m_cols = n;
    m_names.assign(n > 0 ? static_cast<size_t>(n) : 0, std::string());
}

std::string& TCSTable::ColumnName(std::int32_t i)
{
    if (i < 0 || i >= m_cols)
        throw ECSError(3003);
    return m_names[static_cast<size_t>(i)];
}

const std::string& TCSTable::ColumnName(std::int32_t i) const
{
    if (i < 0 || i >= m_cols)
        throw ECSError(3003);
    return m_names[static_cast<size_t>(i)];
}

std::int32_t TCSTable::ColumnIndex(const std::string& name) const
{
    for (size_t i = 0; i < m_names.size(); ++i)
        if (SameText(m_names[i], name))
            return static_cast<std::int32_t>(i);
    return -1;
}

void TCSTable::AddRow()
{
    if (m_cols > 0)
        m_cells.resize(m_cells.size() + static_cast<size_t>(m_cols));
    m_current = m_rows;
    ++m_rows;
}

TCSParam& TCSTable::Cell(std::int32_t row, std::int32_t column)
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_cols)
        throw ECSError(3003);
    return m_cells[static_cast<size_t>(row) * static_cast<size_t>(m_cols) +
                   static_cast<size_t>(column)];
}

const TCSParam& TCSTable::Cell(std::int32_t row, std::int32_t column) const
{
    return const_cast<TCSTable*>(this)->Cell(row, column);
}

TCSParam& TCSTable::CurrentCell(std::int32_t i)
{
    if (i < 0 || i >= m_cols)
        throw ECSError(3003);
    return Cell(m_current, i);
}

TCSParam& TCSTable::CurrentCell(const std::string& name)
{
    const std::int32_t i = ColumnIndex(name);
    if (i < 0 || m_current >= m_rows)
        throw ECSError(3004, name);
    return m_cells[static_cast<size_t>(m_current) * static_cast<size_t>(m_cols) +
                   static_cast<size_t>(i)];
}

const TCSParam& TCSTable::CurrentCell(const std::string& name) const
{
    return const_cast<TCSTable*>(this)->CurrentCell(name);
}

void TCSTable::Clear()
{
    m_names.clear();
    m_cells.clear();
    m_cols = -1;
    m_rows = 0;
    m_current = 0;
}

void TCSTable::AddAttributes()
{
    AddAttribute("ROWS", std::to_string(m_rows));
    AddAttribute("COLS", std::to_string(m_cols));
}

void TCSTable::AppendContent(std::string& out) const
{
    for (const std::string& name : m_names) {
        out += name;
        out += "\\;";
    }
    for (const TCSParam& cell : m_cells) {
        out += cell.Value;
        out += "\\;";
    }
}

void TCSTable::EncodeContent()
{
    AppendContent(Text);
}

std::string TCSTable::EncodedText() const
{
    size_t size = 64;
    for (const std::string& name : m_names)
        size += name.size() + 2;
    for (const TCSParam& cell : m_cells)
        size += cell.Value.size() + 2;
    std::string out;
    out.reserve(size);
    out += "<TBL ROWS=\"";
    out += std::to_string(m_rows);
    out += "\" COLS=\"";
    out += std::to_string(m_cols);
    out += "\">";
    AppendContent(out);
    out += "</TBL>";
    return out;
}

void TCSTable::Decode(const std::string& text)
{
    Clear();
    Text = text;
    DecodeText();
}

void TCSTable::Decode(std::string&& text)
{
    Clear();
    Text = std::move(text);
    DecodeText();
}

void TCSTable::DecodeText()
{
    DecodeTag();
    const std::int32_t rows = coding::DecodeInt(GetAttribute("ROWS"));
    const std::int32_t cols = coding::DecodeInt(GetAttribute("COLS"));

    // Every column name and every cell ends in "\;", so a content shorter than two characters
    // per name and cell cannot fill the table; refusing it here keeps a forged ROWS or COLS
    // from allocating without limit.
    const long long cells = static_cast<long long>(rows) * static_cast<long long>(cols);
    if (rows < 0 || cols < 0 || (cells + cols) * 2 > static_cast<long long>(Content.size()))
        throw ECSError(3002);

    SetColumnCount(cols);
    m_cells.resize(static_cast<size_t>(cells));
    m_rows = rows;
    m_current = rows > 0 ? rows - 1 : 0;

    // A cell's coded value is everything up to its "\;": other escape pairs belong to the
    // value unchanged, so it is taken over as one piece.
    std::int32_t r = -1;
    std::int32_t c = 0;
    const char* start = Content.data();
    const char* p = start;
    const char* const end = start + Content.size();
    bool inEscape = false;
    while (p < end) {
        const char* bs = static_cast<const char*>(std::memchr(p, '\\', static_cast<size_t>(end - p)));
        if (!bs)
            break;
        if (bs + 1 == end) {
            inEscape = true;
            break;
        }
        if (bs[1] != ';') {
            p = bs + 2;
            continue;
        }
        if (r == -1)
            ColumnName(c).assign(start, bs);
        else
            Cell(r, c).Value.assign(start, bs);
        if (++c >= cols) {
            ++r;
            c = 0;
        }
        start = p = bs + 2;
    }
    if (inEscape || r != rows || c != 0)
        throw ECSError(3002);
}

} // namespace riz
