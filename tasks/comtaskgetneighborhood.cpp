#include "tasks/comtaskgetneighborhood.h"

#include "data/datamodulecust.h"
#include "tasks/comtasktables.h"

#include <string>
#include <vector>

namespace riz {
namespace {

const char* const kColumns[] = {"postal_code", "city_name", "norm_city_name", "quarter_name",
                                "norm_quarter_name"};
const char* const kFields[] = {"POSTAL_CODE", "CITY_NAME", "NORM_CITY_NAME", "QUARTER_NAME",
                               "NORM_QUARTER_NAME"};

// The rows of "neighborhood" as texts in the order of kColumns. With result 0 every column is
// required; the candidates sent with another result need only what the city choice shows,
// the postal code and the city name.
std::vector<std::vector<std::string>> ReadRows(const TCSDataString& answer, bool complete)
{
    const TCSTable table = answer.GetParam("neighborhood").AsTable();
    std::vector<std::string> columns;
    std::vector<size_t> target; // the field of each column read
    for (size_t i = 0; i < 5; ++i) {
        if (complete || i < 2 || table.ColumnIndex(kColumns[i]) >= 0) {
            columns.emplace_back(kColumns[i]);
            target.push_back(i);
        }
    }
    std::vector<std::vector<std::string>> out;
    for (const auto& cells : ReadAnswerTable(answer, "neighborhood", columns)) {
        std::vector<std::string> texts(5);
        for (size_t c = 0; c < cells.size(); ++c)
            texts[target[c]] = cells[c].AsString();
        out.push_back(std::move(texts));
    }
    return out;
}

} // namespace

void TComTaskGetNeighborhood::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "GET_NBRHD", "1.00");
    message.AddParam(TCSParam("postal_code", DataModuleCust->NbrhdPostalCode));
    message.AddParam(TCSParam("city_name", DataModuleCust->NbrhdCityName));
}

void TComTaskGetNeighborhood::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    // Result 0 brings the quarters of a known postal code and city. Any other result means the
    // combination is unknown; the rows the service sends with it are the candidates of the city
    // choice. Without such rows the choice offers nothing rather than the rows of an earlier
    // address.
    std::vector<std::vector<std::string>> rows;
    if (r == 0 || answer.HasParam("neighborhood"))
        rows = ReadRows(answer, r == 0);
    TClientDataSet& nbrhd = DataModuleCust->CDSNeighborhood;
    nbrhd.EmptyDataSet();
    for (const auto& texts : rows) {
        nbrhd.Append();
        for (size_t i = 0; i < 5; ++i)
            nbrhd.FieldByName(kFields[i]).SetAsString(texts[i]);
        nbrhd.Post();
    }
    if (r == 0)
        CheckLatestVersion(answer);
    ReportDone(r);
}

} // namespace riz
