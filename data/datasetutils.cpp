#include "data/datasetutils.h"

#include "data/tablefile.h"
#include "platform/text.h"

#include <algorithm>
#include <filesystem>

namespace riz {

void DeleteAllRows(TClientDataSet& table)
{
    table.First();
    while (table.RecordCount() > 0)
        table.Delete();
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

} // namespace

void CopyRowsByFieldName(TClientDataSet& source, TClientDataSet& target)
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
    // Every source row, whatever the source's filter shows.
    for (const auto& row : source.Rows()) {
        target.Append();
        try {
            std::vector<std::pair<TClientDataSet*, TClientDataSet*>> nested;
            int nestedIndex = 0;
            for (int s = 0; s < source.FieldCount(); ++s) {
                const TFieldDef& sd = source.Defs()[s];
                const auto it = std::find_if(pairs.begin(), pairs.end(),
                                             [s](const auto& p) { return p.first == s; });
                if (sd.DataType == TFieldType::Nested) {
                    TClientDataSet* child = row->Nested[nestedIndex++].get();
                    if (it != pairs.end() &&
                        target.Defs()[it->second].DataType == TFieldType::Nested)
                        nested.emplace_back(child, nullptr);
                    continue;
                }
                if (it == pairs.end())
                    continue;
                if (target.Defs()[it->second].DataType == TFieldType::Nested)
                    continue;
                target.Fields(it->second).SetValue(row->Values[s]);
            }
            target.Post();
            // Nested rows go in once the parent row is stored.
            nestedIndex = 0;
            for (int s = 0, k = 0; s < source.FieldCount(); ++s) {
                const TFieldDef& sd = source.Defs()[s];
                if (sd.DataType != TFieldType::Nested)
                    continue;
                const auto it = std::find_if(pairs.begin(), pairs.end(),
                                             [s](const auto& p) { return p.first == s; });
                if (it != pairs.end() && target.Defs()[it->second].DataType == TFieldType::Nested &&
                    target.RecordCount() > 0) {
                    CopyRowsByFieldName(*nested[static_cast<std::size_t>(k)].first,
                                        target.Fields(it->second).NestedDataSet());
                    ++k;
                }
            }
        } catch (...) {
            if (target.State() == TDataSetState::Insert)
                target.Cancel();
            throw;
        }
    }
}

bool UpgradeTableFile(const std::string& path, TClientDataSet& table)
{
    if (TTableFile::ExistsNotEmpty(path))
        return false;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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
