#pragma once

#include "platform/datetime.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace riz {

enum class TFieldType
{
    Integer,  // signed 32-bit
    String,   // text of at most Size bytes
    Memo,     // text of any length
    Blob,     // bytes of any length
    Graphic,  // bytes of a picture
    Date,     // whole days
    DateTime, // days with the time of day as fraction
    Float,    // 64-bit
    Boolean,
    Nested // a table inside the row
};

const char* FieldTypeName(TFieldType type);
bool FieldTypeFromName(const std::string& name, TFieldType& type);

struct TFieldDef
{
    std::string Name;
    TFieldType DataType = TFieldType::String;
    int Size = 0;                     // String only
    bool InternalCalc = false;        // filled by OnCalcFields, stored like any other field
    std::vector<TFieldDef> ChildDefs; // Nested only
    std::string ChildIndexField;      // Nested only: the kept order of the nested rows
};
using TFieldDefs = std::vector<TFieldDef>;

TFieldDef IntField(std::string name);
TFieldDef StrField(std::string name, int size = 20);
TFieldDef MemoField(std::string name);
TFieldDef BlobField(std::string name);
TFieldDef GraphicField(std::string name);
TFieldDef DateField(std::string name);
TFieldDef DateTimeField(std::string name);
TFieldDef FloatField(std::string name);
TFieldDef BoolField(std::string name);
TFieldDef NestedField(std::string name, TFieldDefs children,
                      std::string indexField = std::string());

// A cell: null, an integer, a real (also dates), a boolean or bytes (texts and blobs).
using TValue = std::variant<std::monostate, std::int32_t, double, bool, std::string>;

// Misuse of a table (field unknown, not in edit mode, no current row ...).
class EDatabaseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TClientDataSet;

struct TRow
{
    std::int64_t Id = 0; // stable identity; the row's key in the table file
    std::vector<TValue> Values;
    std::vector<std::unique_ptr<TClientDataSet>> Nested; // one per nested field, in field order
};

// A filter: a predicate over the row being tested plus a text describing it (kept so that
// callers can remember a filter and put it back). An empty filter shows every row.
struct TFilter
{
    std::string Text;
    std::function<bool(const TClientDataSet&)> Accept;

    bool Empty() const { return !Accept; }
};
// "FIELD = value" on an integer field.
TFilter FieldEquals(const std::string& field, std::int32_t value);

class TField final
{
public:
    TField(TClientDataSet* owner, int index) : m_ds(owner), m_index(index) {}

    const std::string& FieldName() const;
    TFieldType DataType() const;
    int Size() const;
    int Index() const { return m_index; }

    bool IsNull() const;
    const TValue& Value() const;
    std::string AsString() const;
    std::int32_t AsInteger() const;
    double AsFloat() const;
    TDateTime AsDateTime() const;
    bool AsBoolean() const;

    // Setters need the table in Edit or Insert state; the value is converted to the field's
    // type (EConvertError when it cannot be), texts are cut at the field's size.
    void SetValue(const TValue& value);
    void SetAsString(const std::string& value) { SetValue(TValue(value)); }
    void SetAsInteger(std::int32_t value) { SetValue(TValue(value)); }
    void SetAsFloat(double value) { SetValue(TValue(value)); }
    void SetAsDateTime(TDateTime value) { SetValue(TValue(value)); }
    void SetAsBoolean(bool value) { SetValue(TValue(value)); }
    void Clear() { SetValue(TValue()); }

    // The nested table of the current row (Nested fields only; the row must be posted).
    TClientDataSet& NestedDataSet() const;

private:
    TClientDataSet* m_ds;
    int m_index;
};

enum class TDataSetState
{
    Inactive,
    Browse,
    Edit,
    Insert
};

class TTableFile;

// The in-memory table behind every CDS... table: typed fields, a current row, a filter, a
// kept order, edit cycle, hooks, nested tables, and a record of its changes since the last
// write. The record serves three purposes: writing only what changed, discarding changes
// (CancelUpdates) and returning to a marked point (SavePoint/RollbackTo).
class TClientDataSet final
{
public:
    explicit TClientDataSet(std::string name = std::string());
    ~TClientDataSet();
    TClientDataSet(const TClientDataSet&) = delete;
    TClientDataSet& operator=(const TClientDataSet&) = delete;

    const std::string& Name() const { return m_name; }

    // Field definitions; change them only while the table is inactive.
    TFieldDefs FieldDefs;

    // Activates the table empty with FieldDefs; forgets any file binding and change record.
    void CreateDataSet();
    void Close();
    bool Active() const { return m_state != TDataSetState::Inactive; }
    TDataSetState State() const { return m_state; }

    int FieldCount() const { return static_cast<int>(m_defs.size()); }
    const TFieldDefs& Defs() const { return m_defs; }
    int FindField(const std::string& name) const; // -1 when absent; ignores case
    TField FieldByName(const std::string& name);  // EDatabaseError when absent
    TField Fields(int index);
    const TValue& ValueAt(int index) const; // the current row's (or buffer's) value
    const TValue& ValueByName(const std::string& name) const;

    // Visible rows (those passing the filter), in the table's order.
    int RecordCount() const { return static_cast<int>(m_view.size()); }
    int TotalRecordCount() const { return static_cast<int>(m_rows.size()); }
    // The i-th visible row (0-based), without moving the current row.
    const TRow& VisibleRow(int i) const { return *m_view.at(static_cast<std::size_t>(i)); }
    bool IsEmpty() const { return m_view.empty(); }
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    int RecNo() const { return m_cur + 1; } // 0 when there is no current row
    void SetRecNo(int recNo);

    // Moves to the first visible row whose field equals the value; texts are compared
    // without regard to case when caseInsensitive. The current row stays when none matches.
    bool Locate(const std::string& field, const TValue& value, bool caseInsensitive = false);
    bool Locate(const std::function<bool(const TClientDataSet&)>& match);

    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();       // deletes the current row; the next one becomes current
    void EmptyDataSet(); // deletes every row, visible or not, without the delete hook
    // Deletes the visible rows; with a BeforeDelete hook one by one from the last, each then
    // current for the hook.
    void DeleteVisibleRows();

    void SetFilter(TFilter filter);
    const TFilter& Filter() const { return m_filter; }
    void ClearFilter() { SetFilter(TFilter()); }

    // Keeps the rows ordered by this field (texts without regard to case); empty: the order
    // of appending.
    void SetIndexFieldName(const std::string& field);
    const std::string& IndexFieldName() const { return m_indexField; }

    std::function<void(TClientDataSet&)> AfterInsert;  // after Append, the new row in edit
    std::function<void(TClientDataSet&)> AfterPost;    // the posted row is current
    std::function<void(TClientDataSet&)> BeforeDelete; // the row to delete is current
    std::function<void(TClientDataSet&)> OnCalcFields; // before a row is stored; set calc fields

    // The change record since the last load or write (shared with the nested tables).
    bool HasChanges() const;
    std::size_t ChangeCount() const;
    void CancelUpdates();
    using TSavePoint = std::size_t;
    TSavePoint SavePoint() const;
    void RollbackTo(TSavePoint point);

    // The table file. LoadFromFile replaces the rows; SaveToFile writes only the recorded
    // changes when the table came from that file, else the whole table (atomically).
    // Both raise ETableFileError; a table whose file could not be read refuses to be written
    // to that file, so that a broken file is never replaced by an empty table.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path);
    const std::string& FileName() const { return m_boundFile; }
    void ForgetFile(); // the next write replaces the file whole

    // Raw access for the table file and the utilities.
    const std::vector<std::unique_ptr<TRow>>& Rows() const { return m_rows; }
    std::int64_t NextRowId();
    void AdoptLoadedRows(std::vector<std::unique_ptr<TRow>> rows, std::int64_t maxId);
    std::unique_ptr<TRow> NewRow();

private:
    friend class TField;
    friend class TTableFile;

    enum class TChange : std::uint8_t
    {
        Inserted,
        Modified,
        Deleted
    };
    struct TLogEntry
    {
        TClientDataSet* Owner;
        TChange Kind;
        TRow* Row;                   // the row concerned (alive while the entry exists)
        std::unique_ptr<TRow> Owned; // Deleted: the row itself; Modified: old values
        std::size_t Position = 0;    // Deleted: where it stood
    };

    TClientDataSet* Root() { return m_root ? m_root : this; }
    const TClientDataSet* Root() const { return m_root ? m_root : this; }
    void CheckActive() const;
    void CheckBrowse() const;
    void CheckCurrent() const;
    std::vector<TValue>& WritableValues();
    bool Passes(const TRow& row) const;
    bool RowLess(const TRow& a, const TRow& b) const;
    std::size_t RowsUpperBound(const TRow& row) const;
    std::size_t ViewUpperBound(const TRow& row) const;
    std::size_t RowPosition(const TRow* row) const;
    void RebuildView(const TRow* keep = nullptr);
    void SetCurrent(int index);
    void Log(TChange kind, TRow* row, std::unique_ptr<TRow> owned, std::size_t position);
    void Undo(TLogEntry& entry);
    void UndoTo(std::size_t size);
    void UndoDeletedRun(std::vector<TLogEntry>& run);
    void ClearLog();
    void CreateNested(TRow& row, TClientDataSet* root);
    void Calc();
    void DeleteCurrent();
    void RemoveVisible(bool all);
    static void SortRows(std::vector<std::unique_ptr<TRow>>& rows, const TClientDataSet& ds);

    std::string m_name;
    TFieldDefs m_defs;
    TDataSetState m_state = TDataSetState::Inactive;
    std::vector<std::unique_ptr<TRow>> m_rows;
    std::vector<TRow*> m_view;
    int m_cur = -1;
    bool m_eof = true;
    bool m_bof = true;
    TFilter m_filter;
    std::string m_indexField;
    int m_indexCol = -1;
    bool m_hasNested = false;

    std::unique_ptr<TRow> m_pending; // Insert: the new row
    std::vector<TValue> m_buffer;    // Edit/Insert: the values being edited
    const TRow* m_evalRow = nullptr; // the row a filter is looking at

    TClientDataSet* m_root = nullptr; // nested: the top table, which keeps the log
    TRow* m_parentRow = nullptr;      // nested: the row holding this table
    std::int64_t m_nextId = 1;
    std::vector<TLogEntry> m_log; // root only

    std::string m_boundFile;      // file the rows were last loaded from or written to
    std::string m_unreadableFile; // file that failed to load; never written over
    std::unique_ptr<TTableFile> m_file;
};

} // namespace riz
