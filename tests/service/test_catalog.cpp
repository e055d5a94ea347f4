// The catalog and the version question through the real HTTP path.

#include "tests/service/servicefixture.h"

namespace riz::test {
namespace {

class CatalogTest : public ServiceTest
{
};

bool IsBitmapOf(const std::string& bytes, int width, int height, int bits)
{
    auto u32 = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 3])) << 24;
    };
    return bytes.size() > 54 && bytes.compare(0, 2, "BM") == 0 && u32(2) == bytes.size() &&
           u32(18) == static_cast<unsigned>(width) && u32(22) == static_cast<unsigned>(height) &&
           static_cast<unsigned char>(bytes[28]) == bits;
}

TEST_F(CatalogTest, CategoriesCarryIconsAndTheirItemsLogosOrRingtoneTexts)
{
    const std::string email = NewCustomer("cat", 0);
    ServiceClient client = Client();
    auto c = client.Call("LOAD_LOGO_CATEGORIES", {}, email, "geheim");
    ASSERT_EQ(c.Rslt(), 0);
    TCSTable categories = c.Message.GetParam("categories").AsTable();
    ASSERT_GE(categories.RowCount(), 4);
    int logoCategories = 0, ringCategories = 0;
    categories.First();
    for (int r = 0; r < categories.RowCount(); ++r, categories.Next()) {
        const std::string type = categories.CurrentCell("type").AsString();
        const int id = categories.CurrentCell("id").AsInt();
        EXPECT_TRUE(IsBitmapOf(categories.CurrentCell("icon").AsStream(), 30, 30, 24));
        EXPECT_FALSE(categories.CurrentCell("name").AsString().empty());
        auto items = client.Call("LOAD_LOGOS", {TCSParam::Int("category", id)}, email, "geheim");
        ASSERT_EQ(items.Rslt(), 0) << id;
        TCSTable t = items.Message.GetParam("items").AsTable();
        ASSERT_GT(t.RowCount(), 0);
        t.First();
        for (int i = 0; i < t.RowCount(); ++i, t.Next()) {
            const std::string data = t.CurrentCell("data").AsStream();
            if (type == "NOL_NGG") {
                EXPECT_TRUE(IsBitmapOf(data, 72, 14, 1)) << t.CurrentCell("name").AsString();
            } else {
                ASSERT_EQ(type, "RING");
                // name:defaults:notes, with the three default keys the previews rely on.
                const size_t first = data.find(':');
                const size_t second = data.find(':', first + 1);
                ASSERT_NE(second, std::string::npos) << data;
                const std::string defaults = data.substr(first + 1, second - first - 1);
                for (const char* key : {"d=", "o=", "b="})
                    EXPECT_NE(defaults.find(key), std::string::npos) << data;
                EXPECT_GT(data.size() - second, 10u);
            }
        }
        (type == "NOL_NGG" ? logoCategories : ringCategories)++;
    }
    EXPECT_GE(logoCategories, 2);
    EXPECT_GE(ringCategories, 1);

    auto none = client.Call("LOAD_LOGOS", {TCSParam::Int("category", 9999)}, email, "geheim");
    EXPECT_EQ(none.Rslt(), 101);

    auto tc = client.Call("LOAD_TEXT_CATEGORIES", {}, email, "geheim");
    ASSERT_EQ(tc.Rslt(), 0);
    const auto textCategories = TableRows(tc.Message, "categories", {"id", "name"});
    ASSERT_FALSE(textCategories.empty());
    auto texts =
        client.Call("LOAD_TEXTS", {TCSParam::Int("category", std::stoi(textCategories[0][0]))},
                    email, "geheim");
    ASSERT_EQ(texts.Rslt(), 0);
    EXPECT_FALSE(TableRows(texts.Message, "items", {"id", "data"}).empty());
    EXPECT_EQ(client.Call("LOAD_TEXTS", {TCSParam::Int("category", 9999)}, email, "geheim").Rslt(),
              101);
}

TEST_F(CatalogTest, AnEmptyCatalogAnswers101AndTheVersionComesFromTheCommandLine)
{
    ServiceOptions options;
    options.Seed = false;
    options.LatestVersion = "0.98.00";
    ServiceProcess bare(options);
    ASSERT_TRUE(bare.Running()) << bare.Error();
    ServiceClient client(bare.Host(), bare.Port());
    const std::string email = NewEmail("bare");
    ASSERT_GT(client.Register(email, "geheim"), 0);
    for (const char* name : {"LOAD_LOGO_CATEGORIES", "LOAD_TEXT_CATEGORIES"}) {
        auto r = client.Call(name, {}, email, "geheim");
        EXPECT_EQ(r.Rslt(), 101) << name;
        EXPECT_FALSE(r.Message.HasParam("latest_version")) << "only successful answers carry it";
    }
    auto v = client.Call("GET_LATEST_VERSION", {}, email, "geheim");
    ASSERT_EQ(v.Rslt(), 0);
    EXPECT_EQ(v.Message.GetParam("latest_version").AsString(), "0.98.00");
    auto credits = client.Call("GET_SMS_CREDITS", {}, email, "geheim");
    EXPECT_EQ(credits.Message.GetParam("latest_version").AsString(), "0.98.00");

    // Without the option the newest version is the client's own, and no other answer has it.
    ServiceClient seeded = Client();
    const std::string other = NewCustomer("ver", 0);
    auto own = seeded.Call("GET_LATEST_VERSION", {}, other, "geheim");
    EXPECT_EQ(own.Message.GetParam("latest_version").AsString(), "0.97.01");
    EXPECT_FALSE(
        seeded.Call("GET_SMS_CREDITS", {}, other, "geheim").Message.HasParam("latest_version"));
}

} // namespace
} // namespace riz::test
