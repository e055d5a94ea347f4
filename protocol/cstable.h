#pragma once

#include "protocol/csparam.h"
#include "protocol/tagcoderdecoder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace riz {

// A table of named columns and rows of coded cells, carried as the value of a parameter:
// <TBL ROWS="r" COLS="c">name\;...cell\;...</TBL>
class TCSTable final : public TCSTagCoderDecoder
{
public:
    TCSTable() : TCSTagCoderDecoder("TBL") {}

    void Decode(const std::string& text) override; // raises 3002, 3003, 4001..4005
    void Decode(std::string&& text);              // the same, taking the text over

    void SetColumnCount(std::int32_t n);
    std::int32_t ColumnCount() const { return m_cols; }
    std::string& ColumnName(std::int32_t i); // raises 3003
    const std::string& ColumnName(std::int32_t i) const;
    // Index of the first column named name, ignoring case; -1 when there is none.
    std::int32_t ColumnIndex(const std::string& name) const;

    void AddRow();
    TCSParam& Cell(std::int32_t row, std::int32_t column); // raises 3003
    const TCSParam& Cell(std::int32_t row, std::int32_t column) const;
    std::int32_t RowCount() const { return m_rows; }

    void First() { m_current = 0; }
    void Next()
    {
        if (m_current + 1 < m_rows)
            ++m_current;
    }
    std::int32_t CurrentRow() const { return m_current; }
    TCSParam& CurrentCell(std::int32_t i);                 // raises 3003
    TCSParam& CurrentCell(const std::string& name);        // raises 3004
    const TCSParam& CurrentCell(const std::string& name) const;

    void Clear();

    // The coded element without touching Text; what Encode() writes.
    std::string EncodedText() const;

protected:
    void AddAttributes() override;
    void EncodeContent() override;

private:
    void AppendContent(std::string& out) const;
    void DecodeText();

    std::int32_t m_cols = -1;
    std::int32_t m_rows = 0;
    std::int32_t m_current = 0;
    std::vector<std::string> m_names;
    std::vector<TCSParam> m_cells; // row after row, m_cols cells each
};

} // namespace riz
