#include "data/clientdataset.h"

#include "data/tablefile.h"
#include "data/valueconv.h"
#include "platform/text.h"

#include <algorithm>
#include <unordered_set>

namespace riz {

const char* FieldTypeName(TFieldType type)
{
    switch (type) {
    case TFieldType::Integer:
        return "int";
    case TFieldType::String:
        return "string";
    case TFieldType::Memo:
        return "memo";
    case TFieldType::Blob:
        return "blob";
    case TFieldType::Graphic:
        return "graphic";
    case TFieldType::Date:
        return "date";
    case TFieldType::DateTime:
        return "datetime";
    case TFieldType::Float:
        return "float";
    case TFieldType::Boolean:
        return "bool";
    case TFieldType::Nested:
        return "nested";
    }
    return "?";
}

bool FieldTypeFromName(const std::string& name, TFieldType& type)
{
    static const TFieldType all[] = {TFieldType::Integer,  TFieldType::String,  TFieldType::Memo,
                                     TFieldType::Blob,     TFieldType::Graphic, TFieldType::Date,
                                     TFieldType::DateTime, TFieldType::Float,   TFieldType::Boolean,
                                     TFieldType::Nested};
    for (TFieldType t : all) {
        if (name == FieldTypeName(t)) {
            type = t;
            return true;
        }
    }
    return false;
}

TFieldDef IntField(std::string name)
{
    return {std::move(name), TFieldType::Integer, 0, false, {}, {}};
}
TFieldDef StrField(std::string name, int size)
{
    return {std::move(name), TFieldType::String, size, false, {}, {}};
}
TFieldDef MemoField(std::string name)
{
    return {std::move(name), TFieldType::Memo, 0, false, {}, {}};
}
TFieldDef BlobField(std::string name)
{
    return {std::move(name), TFieldType::Blob, 0, false, {}, {}};
}
TFieldDef GraphicField(std::string name)
{
    return {std::move(name), TFieldType::Graphic, 0, false, {}, {}};
}
TFieldDef DateField(std::string name)
{
    return {std::move(name), TFieldType::Date, 0, false, {}, {}};
}
TFieldDef DateTimeField(std::string name)
{
    return {std::move(name), TFieldType::DateTime, 0, false, {}, {}};
}
TFieldDef FloatField(std::string name)
{
    return {std::move(name), TFieldType::Float, 0, false, {}, {}};
}
TFieldDef BoolField(std::string name)
{
    return {std::move(name), TFieldType::Boolean, 0, false, {}, {}};
}
TFieldDef NestedField(std::string name, TFieldDefs children, std::string indexField)
{
    return {std::move(name), TFieldType::Nested,  0,
            false,           std::move(children), std::move(indexField)};
}

TFilter FieldEquals(const std::string& field, std::int32_t value)
{
    TFilter f;
    f.Text = field + " = " + std::to_string(value);
    f.Accept = [field, value](const TClientDataSet& ds) {
        const TValue& v = ds.ValueByName(field);
        return std::holds_alternative<std::int32_t>(v) && std::get<std::int32_t>(v) == value;
    };
    return f;
}

// --- TField -------------------------------------------------------------------------------

const std::string& TField::FieldName() const
{
    return m_ds->m_defs[m_index].Name;
}
TFieldType TField::DataType() const
{
    return m_ds->m_defs[m_index].DataType;
}
int TField::Size() const
{
    return m_ds->m_defs[m_index].Size;
}
const TValue& TField::Value() const
{
    return m_ds->ValueAt(m_index);
}
bool TField::IsNull() const
{
    return std::holds_alternative<std::monostate>(Value());
}
std::string TField::AsString() const
{
    return ValueToString(Value(), DataType());
}
std::int32_t TField::AsInteger() const
{
    return ValueToInt(Value());
}
double TField::AsFloat() const
{
    return ValueToFloat(Value());
}
TDateTime TField::AsDateTime() const
{
    return ValueToFloat(Value());
}
bool TField::AsBoolean() const
{
    return ValueToBool(Value());
}

void TField::SetValue(const TValue& value)
{
    const TFieldDef& def = m_ds->m_defs[m_index];
    if (def.DataType == TFieldType::Nested)
        throw EDatabaseError("Feld " + def.Name + ": ein verschachteltes Feld hat keinen Wert");
    m_ds->WritableValues()[m_index] = ConvertValue(value, def.DataType, def.Size);
}

TClientDataSet& TField::NestedDataSet() const
{
    const TFieldDef& def = m_ds->m_defs[m_index];
    if (def.DataType != TFieldType::Nested)
        throw EDatabaseError("Feld " + def.Name + " ist keine verschachtelte Tabelle");
    if (m_ds->m_state == TDataSetState::Insert)
        throw EDatabaseError("Tabelle " + m_ds->m_name + ": neue Zeile erst speichern");
    m_ds->CheckCurrent();
    int nestedIndex = 0;
    for (int i = 0; i < m_index; ++i)
        nestedIndex += m_ds->m_defs[i].DataType == TFieldType::Nested;
    return *m_ds->m_view[m_ds->m_cur]->Nested[nestedIndex];
}

// --- TClientDataSet -----------------------------------------------------------------------

TClientDataSet::TClientDataSet(std::string name) : m_name(std::move(name)) {}

TClientDataSet::~TClientDataSet() = default;

void TClientDataSet::CheckActive() const
{
    if (m_state == TDataSetState::Inactive)
        throw EDatabaseError("Tabelle " + m_name + " ist nicht geöffnet");
}

void TClientDataSet::CheckBrowse() const
{
    CheckActive();
    if (m_state != TDataSetState::Browse)
        throw EDatabaseError("Tabelle " + m_name + " wird gerade bearbeitet");
}

void TClientDataSet::CheckCurrent() const
{
    CheckActive();
    if (m_cur < 0)
        throw EDatabaseError("Tabelle " + m_name + " hat keine aktuelle Zeile");
}

void TClientDataSet::CreateDataSet()
{
    m_file.reset();
    m_boundFile.clear();
    ClearLog();
    m_rows.clear();
    m_view.clear();
    m_defs = FieldDefs;
    m_hasNested = std::any_of(m_defs.begin(), m_defs.end(),
                              [](const TFieldDef& d) { return d.DataType == TFieldType::Nested; });
    m_indexCol = m_indexField.empty() ? -1 : FindField(m_indexField);
    m_pending.reset();
    m_buffer.clear();
    m_state = TDataSetState::Browse;
    m_nextId = 1;
    SetCurrent(-1);
    m_eof = m_bof = true;
}

void TClientDataSet::Close()
{
    m_file.reset();
    ClearLog();
    m_rows.clear();
    m_view.clear();
    m_pending.reset();
    m_buffer.clear();
    m_state = TDataSetState::Inactive;
    m_cur = -1;
    m_eof = m_bof = true;
}

int TClientDataSet::FindField(const std::string& name) const
{
    for (std::size_t i = 0; i < m_defs.size(); ++i) {
        if (AnsiSameText(m_defs[i].Name, name))
            return static_cast<int>(i);
    }
    return -1;
}

TField TClientDataSet::FieldByName(const std::string& name)
{
    const int i = FindField(name);
    if (i < 0)
        throw EDatabaseError("Tabelle " + m_name + ": Feld " + name + " nicht gefunden");
    return TField(this, i);
}

TField TClientDataSet::Fields(int index)
{
    if (index < 0 || index >= FieldCount())
        throw EDatabaseError("Tabelle " + m_name + ": Feldindex außerhalb des Bereichs");
    return TField(this, index);
}

const TValue& TClientDataSet::ValueAt(int index) const
{
    static const TValue null;
    if (m_evalRow)
        return m_evalRow->Values[index];
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        return m_buffer[index];
    if (m_cur < 0)
        return null;
    return m_view[m_cur]->Values[index];
}

const TValue& TClientDataSet::ValueByName(const std::string& name) const
{
    const int i = FindField(name);
    if (i < 0)
        throw EDatabaseError("Tabelle " + m_name + ": Feld " + name + " nicht gefunden");
    return ValueAt(i);
}

std::vector<TValue>& TClientDataSet::WritableValues()
{
    if (m_state != TDataSetState::Edit && m_state != TDataSetState::Insert)
        throw EDatabaseError("Tabelle " + m_name + " ist nicht im Bearbeitungsmodus");
    return m_buffer;
}

// --- navigation ---------------------------------------------------------------------------

void TClientDataSet::SetCurrent(int index)
{
    m_cur = m_view.empty() ? -1 : std::clamp(index, 0, static_cast<int>(m_view.size()) - 1);
}

void TClientDataSet::First()
{
    CheckBrowse();
    SetCurrent(0);
    m_bof = true;
    m_eof = m_view.empty();
}

void TClientDataSet::Last()
{
    CheckBrowse();
    SetCurrent(static_cast<int>(m_view.size()) - 1);
    m_eof = true;
    m_bof = m_view.empty();
}

void TClientDataSet::Next()
{
    CheckBrowse();
    if (m_cur + 1 < static_cast<int>(m_view.size())) {
        ++m_cur;
        m_bof = false;
    } else {
        m_eof = true;
    }
}

void TClientDataSet::Prior()
{
    CheckBrowse();
    if (m_cur > 0) {
        --m_cur;
        m_eof = false;
    } else {
        m_bof = true;
    }
}

void TClientDataSet::SetRecNo(int recNo)
{
    CheckBrowse();
    SetCurrent(recNo - 1);
    m_eof = m_bof = false;
}

bool TClientDataSet::Locate(const std::string& field, const TValue& value, bool caseInsensitive)
{
    const int col = FindField(field);
    if (col < 0)
        throw EDatabaseError("Tabelle " + m_name + ": Feld " + field + " nicht gefunden");
    const TFieldDef& def = m_defs[col];
    const TValue wanted = ConvertValue(value, def.DataType, 0);
    for (std::size_t i = 0; i < m_view.size(); ++i) {
        const TValue& v = m_view[i]->Values[col];
        bool same;
        if (caseInsensitive && std::holds_alternative<std::string>(v) &&
            std::holds_alternative<std::string>(wanted))
            same = AnsiSameText(std::get<std::string>(v), std::get<std::string>(wanted));
        else
            same = v == wanted;
        if (same) {
            CheckBrowse();
            SetCurrent(static_cast<int>(i));
            m_eof = m_bof = false;
            return true;
        }
    }
    return false;
}

bool TClientDataSet::Locate(const std::function<bool(const TClientDataSet&)>& match)
{
    CheckBrowse();
    for (std::size_t i = 0; i < m_view.size(); ++i) {
        m_evalRow = m_view[i];
        const bool ok = match(*this);
        m_evalRow = nullptr;
        if (ok) {
            SetCurrent(static_cast<int>(i));
            m_eof = m_bof = false;
            return true;
        }
    }
    return false;
}

// --- order and filter ---------------------------------------------------------------------

bool TClientDataSet::RowLess(const TRow& a, const TRow& b) const
{
    // Rows of equal keys stay in the order they were added, whatever was edited or undone.
    const int c = CompareValues(a.Values[m_indexCol], b.Values[m_indexCol]);
    return c < 0 || (c == 0 && a.Id < b.Id);
}

std::size_t TClientDataSet::RowsUpperBound(const TRow& row) const
{
    if (m_indexCol < 0)
        return m_rows.size();
    auto it = std::upper_bound(
        m_rows.begin(), m_rows.end(), &row,
        [this](const TRow* a, const std::unique_ptr<TRow>& b) { return RowLess(*a, *b); });
    return static_cast<std::size_t>(it - m_rows.begin());
}

std::size_t TClientDataSet::ViewUpperBound(const TRow& row) const
{
    if (m_indexCol < 0)
        return m_view.size();
    auto it = std::upper_bound(m_view.begin(), m_view.end(), &row,
                               [this](const TRow* a, const TRow* b) { return RowLess(*a, *b); });
    return static_cast<std::size_t>(it - m_view.begin());
}

std::size_t TClientDataSet::RowPosition(const TRow* row) const
{
    // Search from the end: recent rows are the ones usually touched.
    for (std::size_t i = m_rows.size(); i-- > 0;) {
        if (m_rows[i].get() == row)
            return i;
    }
    return m_rows.size();
}

bool TClientDataSet::Passes(const TRow& row) const
{
    if (m_filter.Empty())
        return true;
    auto* self = const_cast<TClientDataSet*>(this);
    const TRow* saved = self->m_evalRow;
    self->m_evalRow = &row;
    bool ok = false;
    try {
        ok = m_filter.Accept(*this);
    } catch (...) {
        self->m_evalRow = saved;
        throw;
    }
    self->m_evalRow = saved;
    return ok;
}

void TClientDataSet::RebuildView(const TRow* keep)
{
    m_view.clear();
    m_view.reserve(m_filter.Empty() ? m_rows.size() : 0);
    int found = -1;
    for (const auto& row : m_rows) {
        if (Passes(*row)) {
            if (row.get() == keep)
                found = static_cast<int>(m_view.size());
            m_view.push_back(row.get());
        }
    }
    SetCurrent(found >= 0 ? found : 0);
    m_bof = true;
    m_eof = m_view.empty();
}

void TClientDataSet::SetFilter(TFilter filter)
{
    CheckBrowse();
    m_filter = std::move(filter);
    RebuildView();
}

void TClientDataSet::SortRows(std::vector<std::unique_ptr<TRow>>& rows, const TClientDataSet& ds)
{
    if (ds.m_indexCol < 0)
        return;
    std::stable_sort(rows.begin(), rows.end(),
                     [&ds](const std::unique_ptr<TRow>& a, const std::unique_ptr<TRow>& b) {
                         return ds.RowLess(*a, *b);
                     });
}

void TClientDataSet::SetIndexFieldName(const std::string& field)
{
    m_indexField = field;
    if (!Active())
        return;
    CheckBrowse();
    m_indexCol = field.empty() ? -1 : FindField(field);
    if (!field.empty() && m_indexCol < 0)
        throw EDatabaseError("Tabelle " + m_name + ": Feld " + field + " nicht gefunden");
    SortRows(m_rows, *this);
    const TRow* keep = m_cur >= 0 ? m_view[m_cur] : nullptr;
    RebuildView(keep);
}

// --- editing ------------------------------------------------------------------------------

std::int64_t TClientDataSet::NextRowId()
{
    return Root()->m_nextId++;
}

std::unique_ptr<TRow> TClientDataSet::NewRow()
{
    auto row = std::make_unique<TRow>();
    row->Id = NextRowId();
    row->Values.resize(m_defs.size());
    CreateNested(*row, Root());
    return row;
}

void TClientDataSet::CreateNested(TRow& row, TClientDataSet* root)
{
    if (!m_hasNested)
        return;
    row.Nested.clear();
    for (const TFieldDef& def : m_defs) {
        if (def.DataType != TFieldType::Nested)
            continue;
        auto child = std::make_unique<TClientDataSet>(def.Name);
        child->FieldDefs = def.ChildDefs;
        child->SetIndexFieldName(def.ChildIndexField);
        child->CreateDataSet();
        child->m_root = root;
        child->m_parentRow = &row;
        row.Nested.push_back(std::move(child));
    }
}

void TClientDataSet::Append()
{
    CheckBrowse();
    m_pending = NewRow();
    m_buffer = m_pending->Values;
    m_state = TDataSetState::Insert;
    if (AfterInsert)
        AfterInsert(*this);
}

void TClientDataSet::Edit()
{
    CheckBrowse();
    CheckCurrent();
    m_buffer = m_view[m_cur]->Values;
    m_state = TDataSetState::Edit;
}

void TClientDataSet::Calc()
{
    if (OnCalcFields)
        OnCalcFields(*this);
}

void TClientDataSet::Post()
{
    CheckActive();
    if (m_state == TDataSetState::Browse)
        return;
    Calc();
    TRow* row = nullptr;
    if (m_state == TDataSetState::Insert) {
        m_pending->Values = std::move(m_buffer);
        row = m_pending.get();
        const std::size_t at = RowsUpperBound(*row);
        m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(m_pending));
        Log(TChange::Inserted, row, nullptr, 0);
        m_state = TDataSetState::Browse;
        if (Passes(*row)) {
            const std::size_t v = ViewUpperBound(*row);
            m_view.insert(m_view.begin() + static_cast<std::ptrdiff_t>(v), row);
            SetCurrent(static_cast<int>(v));
        }
    } else {
        row = m_view[m_cur];
        auto old = std::make_unique<TRow>();
        old->Id = row->Id;
        old->Values = std::move(row->Values);
        const bool moved = m_indexCol >= 0 && old->Values[m_indexCol] != m_buffer[m_indexCol];
        row->Values = std::move(m_buffer);
        Log(TChange::Modified, row, std::move(old), 0);
        m_state = TDataSetState::Browse;
        if (moved) {
            const std::size_t p = RowPosition(row);
            auto owned = std::move(m_rows[p]);
            m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(p));
            const std::size_t at = RowsUpperBound(*row);
            m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(owned));
            m_view.erase(m_view.begin() + m_cur);
            if (Passes(*row)) {
                const std::size_t v = ViewUpperBound(*row);
                m_view.insert(m_view.begin() + static_cast<std::ptrdiff_t>(v), row);
                SetCurrent(static_cast<int>(v));
            } else {
                SetCurrent(m_cur);
            }
        } else if (!Passes(*row)) {
            m_view.erase(m_view.begin() + m_cur);
            SetCurrent(m_cur);
        }
    }
    m_buffer.clear();
    m_eof = m_bof = m_view.empty();
    if (AfterPost)
        AfterPost(*this);
}

void TClientDataSet::Cancel()
{
    CheckActive();
    if (m_state == TDataSetState::Insert)
        m_pending.reset();
    m_buffer.clear();
    m_state = TDataSetState::Browse;
}

void TClientDataSet::Delete()
{
    CheckActive();
    if (m_state == TDataSetState::Insert) {
        Cancel();
        return;
    }
    if (m_state == TDataSetState::Edit)
        Cancel();
    CheckCurrent();
    if (BeforeDelete)
        BeforeDelete(*this);
    CheckBrowse();
    CheckCurrent(); // the hook may have emptied the table
    DeleteCurrent();
}

void TClientDataSet::DeleteCurrent()
{
    TRow* row = m_view[m_cur];
    const std::size_t p = RowPosition(row);
    auto owned = std::move(m_rows[p]);
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(p));
    m_view.erase(m_view.begin() + m_cur);
    Log(TChange::Deleted, row, std::move(owned), p);
    SetCurrent(m_cur);
    m_eof = m_bof = m_view.empty();
}

void TClientDataSet::EmptyDataSet()
{
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        Cancel();
    CheckBrowse();
    // No hooks: emptying is not the deletion of single rows.
    RemoveVisible(true);
}

void TClientDataSet::DeleteVisibleRows()
{
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        Cancel();
    CheckBrowse();
    if (BeforeDelete) {
        // The hook sees each row as the current one, from the last to the first.
        while (!m_view.empty()) {
            Last();
            Delete();
        }
        return;
    }
    RemoveVisible(false);
}

void TClientDataSet::RemoveVisible(bool all)
{
    // One pass over the rows: the visible ones (every one when all) move into the change
    // record, the others close up. Deleting one row at a time would move the rows behind it
    // each time, which is quadratic for a large table.
    std::vector<std::pair<std::size_t, std::unique_ptr<TRow>>> gone;
    std::vector<std::unique_ptr<TRow>> kept;
    kept.reserve(all ? 0 : m_rows.size() - m_view.size());
    std::size_t j = 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (all || (j < m_view.size() && m_rows[i].get() == m_view[j])) {
            gone.emplace_back(i, std::move(m_rows[i]));
            ++j;
        } else {
            kept.push_back(std::move(m_rows[i]));
        }
    }
    m_rows = std::move(kept);
    // Logged from the last to the first, so that undoing (in reverse) puts each row back at
    // the place it had.
    for (auto it = gone.rbegin(); it != gone.rend(); ++it) {
        TRow* row = it->second.get();
        Log(TChange::Deleted, row, std::move(it->second), it->first);
    }
    RebuildView();
}

// --- change record ------------------------------------------------------------------------

void TClientDataSet::Log(TChange kind, TRow* row, std::unique_ptr<TRow> owned, std::size_t position)
{
    Root()->m_log.push_back(TLogEntry{this, kind, row, std::move(owned), position});
}

bool TClientDataSet::HasChanges() const
{
    const auto& log = Root()->m_log;
    if (!m_root)
        return !log.empty();
    return std::any_of(log.begin(), log.end(),
                       [this](const TLogEntry& e) { return e.Owner == this; });
}

std::size_t TClientDataSet::ChangeCount() const
{
    return Root()->m_log.size();
}

void TClientDataSet::Undo(TLogEntry& e)
{
    switch (e.Kind) {
    case TChange::Inserted: {
        const std::size_t p = RowPosition(e.Row);
        if (p < m_rows.size()) {
            e.Owned = std::move(m_rows[p]); // freed with the entry, after the whole walk
            m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(p));
        }
        break;
    }
    case TChange::Modified:
        e.Row->Values = std::move(e.Owned->Values);
        break;
    case TChange::Deleted: {
        const std::size_t p = std::min(e.Position, m_rows.size());
        m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(p), std::move(e.Owned));
        break;
    }
    }
}

void TClientDataSet::UndoDeletedRun(std::vector<TLogEntry>& run)
{
    // Undone one by one, entry k would be inserted at run[k].Position, above every earlier
    // one; so in the result each row stands at its Position and the others keep their order.
    const std::size_t total = m_rows.size() + run.size();
    if (run.back().Position >= total) {
        for (auto& e : run)
            Undo(e);
        return;
    }
    std::vector<std::unique_ptr<TRow>> merged;
    merged.reserve(total);
    std::size_t r = 0;
    std::size_t old = 0;
    for (std::size_t i = 0; i < total; ++i) {
        if (r < run.size() && run[r].Position == i)
            merged.push_back(std::move(run[r++].Owned));
        else
            merged.push_back(std::move(m_rows[old++]));
    }
    m_rows = std::move(merged);
}

void TClientDataSet::UndoTo(std::size_t size)
{
    auto& log = Root()->m_log;
    std::unordered_set<TClientDataSet*> touched;
    // An entry being undone may own the rows (and nested tables) that older entries name;
    // keep the undone entries alive until the whole walk is over.
    std::vector<TLogEntry> undone;
    while (log.size() > size) {
        TLogEntry e = std::move(log.back());
        log.pop_back();
        TClientDataSet* owner = e.Owner;
        if (owner->m_state != TDataSetState::Browse)
            owner->Cancel();
        touched.insert(owner);
        if (e.Kind == TChange::Deleted) {
            // A run of deletions whose places grow in undo order (as a bulk deletion logs
            // them) goes back in one merge instead of one insertion each.
            std::vector<TLogEntry> run;
            run.push_back(std::move(e));
            while (log.size() > size && log.back().Kind == TChange::Deleted &&
                   log.back().Owner == owner && log.back().Position > run.back().Position) {
                run.push_back(std::move(log.back()));
                log.pop_back();
            }
            owner->UndoDeletedRun(run);
            for (auto& r : run)
                undone.push_back(std::move(r));
            continue;
        }
        owner->Undo(e);
        undone.push_back(std::move(e));
    }
    for (TClientDataSet* ds : touched) {
        const TRow* keep = ds->m_cur >= 0 && ds->m_cur < static_cast<int>(ds->m_view.size())
                               ? ds->m_view[ds->m_cur]
                               : nullptr;
        SortRows(ds->m_rows, *ds);
        ds->RebuildView(keep);
    }
}

void TClientDataSet::CancelUpdates()
{
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        Cancel();
    if (m_root)
        throw EDatabaseError("Tabelle " + m_name +
                             ": Änderungen nur über die obere Tabelle verwerfen");
    UndoTo(0);
}

TClientDataSet::TSavePoint TClientDataSet::SavePoint() const
{
    return Root()->m_log.size();
}

void TClientDataSet::RollbackTo(TSavePoint point)
{
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        Cancel();
    if (point > Root()->m_log.size())
        throw EDatabaseError("Tabelle " + m_name + ": ungültiger Sicherungspunkt");
    UndoTo(point);
}

void TClientDataSet::ClearLog()
{
    Root()->m_log.clear();
}

// --- files --------------------------------------------------------------------------------

void TClientDataSet::AdoptLoadedRows(std::vector<std::unique_ptr<TRow>> rows, std::int64_t maxId)
{
    m_rows = std::move(rows);
    m_nextId = maxId + 1;
    for (auto& row : m_rows) {
        for (auto& child : row->Nested) {
            child->m_root = this;
            child->m_parentRow = row.get();
        }
    }
    SortRows(m_rows, *this);
    RebuildView();
}

void TClientDataSet::LoadFromFile(const std::string& path)
{
    if (m_state == TDataSetState::Edit || m_state == TDataSetState::Insert)
        Cancel();
    try {
        TTableFile::Load(path, *this);
    } catch (...) {
        m_unreadableFile = path;
        throw;
    }
    if (m_unreadableFile == path)
        m_unreadableFile.clear();
}

void TClientDataSet::SaveToFile(const std::string& path)
{
    if (m_root)
        throw EDatabaseError("Tabelle " + m_name +
                             ": verschachtelte Tabellen werden mit der oberen gespeichert");
    CheckActive();
    if (m_state != TDataSetState::Browse)
        Post();
    if (!m_unreadableFile.empty() && m_unreadableFile == path)
        throw ETableFileError(19022, path, "die Datei konnte nicht gelesen werden");
    if (m_boundFile == path && m_file && TTableFile::Exists(path)) {
        if (!m_log.empty())
            m_file->WriteChanges(*this);
    } else {
        m_file.reset();
        TTableFile::WriteAll(path, *this);
        m_boundFile = path;
        m_file = std::make_unique<TTableFile>(path);
    }
    ClearLog();
}

void TClientDataSet::ForgetFile()
{
    m_file.reset();
    m_boundFile.clear();
}

} // namespace riz
