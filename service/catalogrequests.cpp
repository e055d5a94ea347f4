#include "service/requestcontext.h"

namespace riz::service {

int HandleLoadLogoCategories(TRequestContext& ctx)
{
    TCSTable categories = MakeTable({"id", "type", "name", "icon"});
    auto st = ctx.Db.Prepare("SELECT id, type, name, icon FROM logo_categories ORDER BY id");
    while (st.Step()) {
        categories.AddRow();
        categories.CurrentCell(0).SetInt(st.Int(0));
        categories.CurrentCell(1).SetString(st.Text(1));
        categories.CurrentCell(2).SetString(st.Text(2));
        categories.CurrentCell(3).SetStream(st.Text(3));
    }
    if (categories.RowCount() == 0)
        return rslt::kNothingThere;
    ctx.Add(TCSParam::Table("categories", categories));
    return rslt::kOk;
}

int HandleLoadLogos(TRequestContext& ctx)
{
    TCSTable items = MakeTable({"id", "type", "name", "data"});
    auto st = ctx.Db.Prepare("SELECT id, type, name, data FROM logos WHERE category = ?1 "
                             "ORDER BY id");
    st.Bind(1, ctx.Int("category"));
    while (st.Step()) {
        items.AddRow();
        items.CurrentCell(0).SetInt(st.Int(0));
        items.CurrentCell(1).SetString(st.Text(1));
        items.CurrentCell(2).SetString(st.Text(2));
        items.CurrentCell(3).SetStream(st.Text(3));
    }
    if (items.RowCount() == 0)
        return rslt::kNothingThere;
    ctx.Add(TCSParam::Table("items", items));
    return rslt::kOk;
}

int HandleLoadTextCategories(TRequestContext& ctx)
{
    TCSTable categories = MakeTable({"id", "name"});
    auto st = ctx.Db.Prepare("SELECT id, name FROM text_categories ORDER BY id");
    while (st.Step()) {
        categories.AddRow();
        categories.CurrentCell(0).SetInt(st.Int(0));
        categories.CurrentCell(1).SetString(st.Text(1));
    }
    if (categories.RowCount() == 0)
        return rslt::kNothingThere;
    ctx.Add(TCSParam::Table("categories", categories));
    return rslt::kOk;
}

int HandleLoadTexts(TRequestContext& ctx)
{
    TCSTable items = MakeTable({"id", "data"});
    auto st = ctx.Db.Prepare("SELECT id, data FROM texts WHERE category = ?1 ORDER BY id");
    st.Bind(1, ctx.Int("category"));
    while (st.Step()) {
        items.AddRow();
        items.CurrentCell(0).SetInt(st.Int(0));
        items.CurrentCell(1).SetString(st.Text(1));
    }
    if (items.RowCount() == 0)
        return rslt::kNothingThere;
    ctx.Add(TCSParam::Table("items", items));
    return rslt::kOk;
}

int HandleGetLatestVersion(TRequestContext& ctx)
{
    // Without a newer version configured the newest is the one the client runs.
    const std::string latest = !ctx.Options.LatestVersion.empty()
                                   ? ctx.Options.LatestVersion
                                   : ctx.TextOr("my_version", "0.97.01");
    ctx.Add(TCSParam::Text("latest_version", latest));
    return rslt::kOk;
}

} // namespace riz::service
