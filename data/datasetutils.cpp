#include "data/datasetutils.h"

#include "data/tablefile.h"
#include "platform/text.h"

#include <algorithm>
#include <filesystem>

namespace riz {

void DeleteAllRows(TClientDataSet& table)
{
    table.DeleteVisibleRows();
}

bool NameInList(const std::vector<std::string>& list, const std::string& name)
{
    const std::string wanted = AnsiLowerCase(name);
    return std::any_of(list.begin(), list.end(),
                       [&](const std::string& entry) { return AnsiLowerCase(entry) == wanted; });
}

namespace {

std::vector<std::string> FieldNames(const TClientDataSet& ds)
{
    std::vector<std::string> names;
    for (const TFieldDef& d : ds.Defs())
        names.push_back(d.Name);
    return names;
}

// Appends one row to the target from a source row, then copies its nested rows.
void CopyRow(const TClientDataSet& source, const TRow& row, TClientDataSet& target,
             const std::vector<std::pair<int, int>>& pairs)
{
    target.Append();
    std::vector<std::pair<const TClientDataSet*, int>> nested; // source table, target field
    for (const auto& [s, t] : pairs) {
        const bool sourceNested = source.Defs()[s].DataType == TFieldType::Nested;
        const bool targetNested = target.Defs()[t].DataType == TFieldType::Nested;
        if (sourceNested || targetNested) {
            if (sourceNested && targetNested) {
                int k = 0;
                for (int i = 0; i < s; ++i)
                    k += source.Defs()[i].DataType == TFieldType::Nested;
                nested.emplace_back(row.Nested[k].get(), t);
            }
            continue;
        }
        target.Fields(t).SetValue(row.Values[s]);
    }
    target.Post();
    for (const auto& [child, t] : nested)
        CopyRowsByFieldName(*child, target.Fields(t).NestedDataSet());
}

} // namespace

void CopyRowsByFieldName(const TClientDataSet& source, TClientDataSet& target)
{
    const std::vector<std::string> targetNames = FieldNames(target);
    const std::vector<std::string> sourceNames = FieldNames(source);
    std::vector<std::string> common;
    const auto& walked = targetNames.size() < sourceNames.size() ? targetNames : sourceNames;
    const auto& other = targetNames.size() < sourceNames.size() ? sourceNames : targetNames;
    for (const std::string& name : walked) {
        if (NameInList(other, name))
            common.push_back(name);
    }
    if (common.empty())
        return;

    std::vector<std::pair<int, int>> pairs; // source index, target index
    for (const std::string& name : common)
        pairs.emplace_back(source.FindField(name), target.FindField(name));

    target.EmptyDataSet();
    // The target's filter is set aside while copying, so that each posted row is current
    // and its nested rows can follow it.
    TFilter saved = target.Filter();
    target.ClearFilter();
    try {
        for (const auto& row : source.Rows()) // every source row, whatever its filter shows
            CopyRow(source, *row, target, pairs);
    } catch (...) {
        if (target.State() == TDataSetState::Insert)
            target.Cancel();
        target.SetFilter(std::move(saved));
        throw;
    }
    target.SetFilter(std::move(saved));
}

bool UpgradeTableFile(const std::string& path, TClientDataSet& table)
{
    if (TTableFile::ExistsNotEmpty(path))
        return false;
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = fileName.find('.');
    if (dot == std::string::npos)
        return false;
    const std::string prefix = fileName.substr(0, dot + 1); // base name and "."

    std::vector<std::string> candidates;
    std::error_code ec;
    for (const auto& entry :
         std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0)
            candidates.push_back(name);
    }
    // The greatest name in plain byte order wins; unreadable ones give way to the next.
    std::sort(candidates.begin(), candidates.end(), std::greater<>());
    for (const std::string& name : candidates) {
        TClientDataSet old("upgrade");
        try {
            TTableFile::Load(folder + name, old);
        } catch (const ETableFileError&) {
            continue;
        }
        CopyRowsByFieldName(old, table);
        return true;
    }
    return false;
}

} // namespace riz
