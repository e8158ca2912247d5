// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/RowColour.h"
#include "router/core/CataloguePages.h"

namespace zorbinta {
namespace {

const std::string kServer = "http://cat.example";

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

bool contains(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

// ---- domain page ------------------------------------------------------------

const std::string kDomainHeadStart =
    R"(<h3 align="center">Регистрация доменов</h3><table><tr><td valign="top">Выбрать:<form action="http://dom">)"
    R"(<select name="zona" size="1"><option value=".ru|">.ru</option><option value=".com|">.com</option><option value=".net|">.net</option><option value=".org|">.org</option><option value=".biz|">.biz</option><option value=".info|">.info</option>)"
    R"(<option value=".com.ru|">.com.ru</option><option value=".net.ru|">.net.ru</option><option value=".org.ru|">.org.ru</option><option value=".pp.ru|">.pp.ru</option><option value=".spb.ru|">.spb.ru</option><option value=".msk.ru|">.msk.ru</option>)"
    R"(</select><br>Для клиентов:<table><tr><td><input type="radio" name="norh" value="0">не заказавших хостинг(по умолчанию)</td></tr><tr><td><input type="radio" name="norh" value="1">заказавших хостинг</td></tr></table><br>)"
    R"(<input type="submit" name="" value="Показать"></form></td><td><table align="center" border="2" cellpadding="5"><tr bgcolor="#F4F4FF"><td>Зона</td><td>Хостинг-провайдер</td><td><a class=menu href="domreg)";

std::string domainHead(const std::string& query) {
    return kDomainHeadStart + query + R"(">Регистрация</a></td>)" +
           R"(<td><a class=menu href="domprod)" + query + R"(">Продление</a></td></tr>)";
}

std::string domainLinks(const std::string& prefix, int pages) {
    std::string out = "Страницы: ";
    for (int n = 1; n <= pages; ++n) {
        out += R"(<a class="menu" href="dom)" + prefix + "page" + std::to_string(n) + "\">" +
               std::to_string(n) + "</a> ";
    }
    return out;
}

class DomainPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        cat.ProviderCount = 1;
        cat.number(ProviderTable, slot::ProviderId, 1) = 5;
        cat.text(ProviderTable, slot::WebAddress, 1) = "reg.ru";
    }
    void offer(int row, const std::string& zone, double registration, double renewal, int kind) {
        cat.text(DomainTable, slot::Zone, row) = zone;
        cat.number(DomainTable, slot::DomainProviderId, row) = 5;
        cat.number(DomainTable, slot::RegistrationPrice, row) = registration;
        cat.number(DomainTable, slot::RenewalPrice, row) = renewal;
        cat.number(DomainTable, slot::ClientKind, row) = kind;
        cat.DomainEnd = std::max(cat.DomainEnd, row + 1);
    }
    std::string build(const DomainParams& params) {
        RowColour colour;
        return BuildDomainPage(cat, params, colour, kServer);
    }
    // Zones of the rows on show, in order.
    static std::vector<std::string> zonesOf(const std::string& body) {
        std::vector<std::string> zones;
        const std::string key = "\"><td>";
        for (auto at = body.find("<tr bgcolor=\"#"); at != std::string::npos;
             at = body.find("<tr bgcolor=\"#", at + 1)) {
            const auto from = body.find(key, at) + key.size();
            zones.push_back(body.substr(from, body.find("</td>", from) - from));
        }
        zones.erase(zones.begin());  // the head row
        return zones;
    }

    Catalogue cat;
};

TEST_F(DomainPageTest, OneRowByteForByte) {
    offer(1, ".ru", 300, 12.5, 0);
    cat.number(ProviderTable, slot::ProviderId, 2) = 5;  // the last match wins
    cat.text(ProviderTable, slot::WebAddress, 2) = "last.ru";
    cat.ProviderCount = 2;
    EXPECT_EQ(
        build({}),
        domainHead("") +
            R"(<tr bgcolor="#FFE6CC"><td>.ru</td><td><a class="menu" target="new" href="http://cat.example/stat.php?id=5">last.ru</a></td><td>300,00</td><td>12,50</td></tr>)"
            "</table></td></tr></table>");
}

TEST_F(DomainPageTest, PricesAndUnknownProvider) {
    offer(1, ".ru", 9.99, 1.125, 0);
    offer(2, ".com", 0, 7, 0);
    cat.number(DomainTable, slot::DomainProviderId, 2) = 77;  // no such provider
    const std::string body = build({});
    EXPECT_TRUE(contains(body, "<td>9,99</td><td>1,125</td>"));
    EXPECT_TRUE(contains(
        body,
        R"(<td>.com</td><td><a class="menu" target="new" href="http://cat.example/stat.php?id=77"></a></td><td>0,00</td><td>7,00</td></tr>)"));
}

TEST_F(DomainPageTest, PagingWithoutZone) {
    // Zones z01..z16: the greatest first.
    for (int r = 1; r <= 16; ++r) {
        offer(r, (r < 10 ? "z0" : "z") + std::to_string(r), 100.0 - r, r, r % 2);
    }
    struct Case {
        DomainParams params;
        std::vector<std::string> first;  // the first rows shown
        size_t rows;
        std::string linkPrefix;
    };
    DomainParams page2;
    page2.page = 2;
    DomainParams reg;
    reg.order = DomainOrder::Registration;
    reg.linkPrefix = "reg";
    DomainParams prod2;
    prod2.order = DomainOrder::Renewal;
    prod2.linkPrefix = "prod";
    prod2.page = 2;
    DomainParams page0;
    page0.page = 0;
    const Case cases[] = {
        {{}, {"z16", "z15"}, 15, ""},
        {page2, {"z01"}, 1, ""},
        {reg, {"z16", "z15", "z14"}, 15, "reg"},
        {prod2, {"z16"}, 1, "prod"},
        {page0, {}, 0, ""},
    };
    for (const Case& c : cases) {
        const std::string body = build(c.params);
        const std::vector<std::string> zones = zonesOf(body);
        ASSERT_EQ(zones.size(), c.rows) << c.params.page;
        for (size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(zones[i], c.first[i]);
        const std::string tail = "</table></td></tr></table>" + domainLinks(c.linkPrefix, 2);
        EXPECT_EQ(body.substr(body.size() - tail.size()), tail);
    }
}

TEST_F(DomainPageTest, ExactlyFifteenIsOnePage) {
    for (int r = 1; r <= 15; ++r) offer(r, ".ru", r, r, 0);
    const std::string body = build({});
    EXPECT_FALSE(contains(body, "Страницы"));
    EXPECT_EQ(count(body, "<tr bgcolor=\"#FFE6CC\"><td>.ru"), 8);
    EXPECT_EQ(count(body, "<tr bgcolor=\"#F4F4FF\"><td>.ru"), 7);
}

TEST_F(DomainPageTest, ZoneFilterPagesTheMatches) {
    // 20 ".ru" offers for hosting clients among others, by registration price.
    int row = 0;
    for (int i = 1; i <= 20; ++i) {
        offer(++row, ".ru", i, 0, 1);
        offer(++row, ".ru", i + 0.5, 0, 0);
        offer(++row, ".com", i, 0, 1);
    }
    DomainParams p;
    p.order = DomainOrder::Registration;
    p.zone = ".ru";
    p.clientKind = 1;
    p.query = "zona=.ru%7Cnorh=1";
    p.linkPrefix = "reg" + p.query;
    std::vector<std::string> shown;
    for (const int page : {1, 2, 3}) {
        p.page = page;
        const std::string body = build(p);
        EXPECT_EQ(body.rfind(domainHead(p.query), 0), 0u);
        const std::string tail =
            "</table></td></tr></table>" + domainLinks("regzona=.ru%7Cnorh=1", 2);
        EXPECT_EQ(body.substr(body.size() - tail.size()), tail);
        const int rows = count(body, "<td>.ru</td>");
        EXPECT_EQ(rows, page == 1 ? 15 : page == 2 ? 5 : 0) << page;
        EXPECT_EQ(count(body, "<td>.com</td>"), 0);
        if (page == 1) {
            EXPECT_TRUE(contains(body, "<td>1,00</td>"));
            EXPECT_TRUE(contains(body, "<td>15,00</td>"));
            EXPECT_FALSE(contains(body, "<td>16,00</td>"));
            EXPECT_FALSE(contains(body, "<td>1,50</td>"));
        }
        if (page == 2) {
            EXPECT_TRUE(contains(body, "<td>16,00</td>"));
            EXPECT_TRUE(contains(body, "<td>20,00</td>"));
            EXPECT_FALSE(contains(body, "<td>15,00</td>"));
            // Colours count the rows shown only.
            EXPECT_EQ(count(body, "<tr bgcolor=\"#FFE6CC\"><td>.ru"), 3);
        }
    }
}

TEST_F(DomainPageTest, ZoneWithoutOffersGivesAnEmptyTable) {
    offer(1, ".ru", 1, 1, 0);
    DomainParams p;
    p.zone = ".info";
    p.query = "zona=.info%7C";
    EXPECT_EQ(build(p), domainHead("zona=.info%7C") + "</table></td></tr></table>");
}

TEST_F(DomainPageTest, NothingLoaded) {
    cat.DomainEnd = 0;
    EXPECT_EQ(build({}), domainHead("") + "</table></td></tr></table>");
}

// ---- free hosting page --------------------------------------------------------

TEST(FreeHostPage, OffersByteForByte) {
    Catalogue cat;
    cat.FreeHostCount = 2;
    cat.text(FreeHostTable, slot::FreeAddress, 1) = "alpha.test";
    cat.number(FreeHostTable, slot::FreeDiskMb, 1) = 9999;
    cat.number(FreeHostTable, slot::FreeOfferId, 1) = 3;
    cat.text(FreeHostTable, slot::FreeAdvertising, 1) = "баннер";
    cat.text(FreeHostTable, slot::FreeServices, 1) = "PHP";
    cat.text(FreeHostTable, slot::FreeAddress, 2) = "beta.test";
    cat.number(FreeHostTable, slot::FreeDiskMb, 2) = 25.5;
    cat.number(FreeHostTable, slot::FreeOfferId, 2) = 8;
    cat.text(FreeHostTable, slot::FreeComment, 2) = "нет";
    auto offer = [](const std::string& id, const std::string& address, const std::string& disk,
                    const std::string& ads, const std::string& services,
                    const std::string& comment) {
        const std::string cell = R"(<tr><td width="200" bgcolor="#F4F4FF">)";
        const std::string value = R"(</td><td bgcolor="#FFE6CC">)";
        return R"(<table width="100%">)" + cell + "URL" + value +
               R"(<a class="menu" href="http://cat.example/stat.php?id=)" + id +
               R"(&type=2" target="new">)" + address + "</a></td></tr>" + cell +
               "Дисковое пространство(Мб)" + value + disk + "</td></tr>" + cell + "Реклама" +
               value + ads + "</td></tr>" + cell + "Сервисы" + value + services + "</td></tr>" +
               cell + "Коментарий" + value + comment + "</td></tr>" + "</table><br>";
    };
    EXPECT_EQ(BuildFreeHostPage(cat, kServer),
              R"(<h3 align="center">Бесплатный хостинг</h3>)" +
                  offer("8", "beta.test", "25,5", "", "", "нет") +
                  offer("3", "alpha.test", "Неогр.", "баннер", "PHP", ""));

    cat.number(FreeHostTable, slot::FreeDiskMb, 1) = 99999;
    cat.number(FreeHostTable, slot::FreeDiskMb, 2) = 9998;
    const std::string body = BuildFreeHostPage(cat, kServer);
    EXPECT_TRUE(contains(body, "<td bgcolor=\"#FFE6CC\">99999</td>"));
    EXPECT_TRUE(contains(body, "<td bgcolor=\"#FFE6CC\">9998</td>"));

    cat.FreeHostCount = 0;
    EXPECT_EQ(BuildFreeHostPage(cat, kServer), R"(<h3 align="center">Бесплатный хостинг</h3>)");
}

// ---- plan columns, comparison and provider pages ------------------------------

// One plan in row r of provider 5.
void addPlan(Catalogue& cat, int r, const std::string& name, double number, double provider) {
    cat.text(PlanTable, slot::PlanName, r) = name;
    cat.number(PlanTable, slot::PlanNumber, r) = number;
    cat.number(PlanTable, slot::PlanProviderId, r) = provider;
    cat.PlanCount = std::max(cat.PlanCount, r);
}

// Rows 1 to 25 of the plan column table, from captions and per-row cells;
// oddRowsFirst: odd rows take the first colour.
std::string planColumns(const std::vector<std::string>& cells, int planCount, bool oddRowsFirst) {
    const char* captions[] = {"",
                              "Тарифный план",
                              "Дисковое пространство(Мб)",
                              "Трафик",
                              "Количество почтовых ящиков",
                              "Количество доменов 3 уровня",
                              "Количество баз MySQL",
                              "Месячная стоимость",
                              "Минимальный срок оплаты",
                              "Тестовый период (дней)",
                              "PHP",
                              "Perl",
                              "CGI-BIN директория",
                              "Поддержка SSI",
                              "Запуск скриптов по расписанию(Cron)",
                              "SSH доступ",
                              "Страницы ошибок",
                              "FTP доступ",
                              "Анонимный FTP",
                              "Паролирование директорий",
                              ".htaccess",
                              "Статистика сайта",
                              "Доступ к log-файлам",
                              "Панель управления",
                              "Ежедневный Back-Up"};
    std::string out;
    for (int s = 1; s <= 25; ++s) {
        const bool a = (s % 2 == 1) == oddRowsFirst;
        const std::string colour = a ? "#FFE6CC" : "#F4F4FF";
        if (s == 10) {
            out += "<tr><td colspan=" + std::to_string(planCount + 1) + ">&nbsp;</td></tr>";
        }
        if (s == 25) {
            out += "<tr><td>&nbsp;</td>";
        } else {
            out += "<tr bgcolor=" + colour + "><td>" + captions[s] + "</td>";
        }
        out += cells[s] + "</tr>";
    }
    return out;
}

class PlanPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        cat.ProviderCount = 2;
        cat.number(ProviderTable, slot::ProviderId, 1) = 5;
        cat.text(ProviderTable, slot::WebAddress, 1) = "my.host.ru";
        cat.number(ProviderTable, slot::ProviderId, 2) = 6;
        cat.text(ProviderTable, slot::WebAddress, 2) = "other.ru";
        addPlan(cat, 1, "Эконом", 42, 5);
        const double values[] = {100, 99999, 10, 2, 1, 7.5, 3, 14};
        for (int k = 0; k < 8; ++k) cat.number(PlanTable, k + 3, 1) = values[k];
        cat.flag(PlanTable, slot::HasPhp, 1) = 1;
        cat.flag(PlanTable, slot::HasSsh, 1) = 1;
        cat.flag(PlanTable, 15, 1) = 1;  // daily backup
        addPlan(cat, 2, "Бизнес", 43, 6);
    }
    // The cells of the plan in row 1, ordered through provider 5.
    static std::vector<std::string> economyCells() {
        const std::vector<std::string> values = {"100", "неогр.", "10", "2", "1", "7,5", "3", "14"};
        std::vector<std::string> cells(26);
        cells[1] = "<td class=name align=center>Эконом</td>";
        for (int s = 2; s <= 9; ++s) cells[s] = "<td align=center>" + values[s - 2] + "</td>";
        for (int s = 10; s <= 24; ++s) {
            const bool set = s == 10 || s == 15 || s == 24;
            cells[s] = std::string("<td align=center>") + (set ? "+" : "-") + "</td>";
        }
        cells[25] =
            R"(<td class=name align=center><a class="menu" target="new" href="http://cat.example/stat.php?id=5&type=1&nom=42">Заказать</a></td>)";
        return cells;
    }

    Catalogue cat;
};

TEST_F(PlanPagesTest, CompareOnePlanByteForByte) {
    RowColour colour;
    EXPECT_EQ(
        BuildComparePage(cat, {1}, colour, kServer),
        R"(<h3 align="center">Сравнение тарифных планов</h3><table align=center border=1>)"
        R"(<tr bgcolor=#FFE6CC><td>Хостинг-провайдер</td><td class=name align=center><a class="menu" target="new" href="http://cat.example/stat.php?id=5&type=1&nom=42">my.host.ru</a></td></tr>)" +
            planColumns(economyCells(), 1, false) + "</table>");
}

TEST_F(PlanPagesTest, SeparatorIsFollowedByThePhpRow) {
    RowColour colour;
    const std::string body = BuildComparePage(cat, {1}, colour, kServer);
    EXPECT_TRUE(contains(body,
                         "<tr><td colspan=2>&nbsp;</td></tr><tr bgcolor=#FFE6CC><td>PHP</td>"
                         "<td align=center>+</td></tr><tr bgcolor=#F4F4FF><td>Perl</td>"));
}

TEST_F(PlanPagesTest, CompareColumnsFollowTheSelection) {
    addPlan(cat, 3, "Ничей", 44, 99);  // no such provider
    RowColour colour;
    const std::string body = BuildComparePage(cat, {3, 2, 0, 2, 4, -1, 1001}, colour, kServer);
    EXPECT_TRUE(contains(
        body,
        R"(<td>Хостинг-провайдер</td><td class=name align=center><a class="menu" target="new" href="http://cat.example/stat.php?id=99&type=1&nom=44"></a></td>)"
        R"(<td class=name align=center><a class="menu" target="new" href="http://cat.example/stat.php?id=6&type=1&nom=43">other.ru</a></td>)"
        R"(<td class=name align=center><a class="menu" target="new" href="http://cat.example/stat.php?id=6&type=1&nom=43">other.ru</a></td></tr>)"));
    EXPECT_TRUE(contains(body,
                         "<td>Тарифный план</td><td class=name align=center>Ничей</td><td "
                         "class=name align=center>Бизнес</td><td class=name "
                         "align=center>Бизнес</td></tr>"));
    EXPECT_TRUE(contains(body, "<tr><td colspan=4>&nbsp;</td></tr>"));
    EXPECT_EQ(count(body, "Заказать"), 3);
}

TEST_F(PlanPagesTest, ColoursContinueFromEarlierPagesOfTheHandling) {
    RowColour colour;
    colour.toggle();  // a row of another page built in the same handling
    const std::string body = BuildComparePage(cat, {1}, colour, kServer);
    EXPECT_TRUE(contains(body, "<tr bgcolor=#F4F4FF><td>Хостинг-провайдер</td>"));
    EXPECT_TRUE(contains(body, "<tr bgcolor=#FFE6CC><td>Тарифный план</td>"));
}

std::string providerTail(const std::string& columns, const std::string& extra,
                         const std::string& payments) {
    return columns + "</table>" + extra + "<h4 class=h4 align=center>Способы оплаты</h4><ol>" +
           payments + "</ol>";
}

TEST_F(PlanPagesTest, ProviderPageByteForByte) {
    auto t = [&](int s) -> std::string& { return cat.text(ProviderTable, s, 1); };
    t(slot::FirmName) = "ООО \"Хост\"";
    t(slot::Address) = "Москва";
    t(slot::Phone1Code) = "495";
    t(slot::Phone1Number) = "123-45-67";
    t(slot::Phone3Code) = "812";
    t(slot::Phone3Number) = "765-43-21";
    t(slot::Email) = "info@my.host.ru";
    t(slot::UpdatedOn) = "2004-03-15";
    t(slot::ExtraInfo) = "line one?*?line two";
    cat.flag(ProviderTable, 1, 1) = 1;
    cat.flag(ProviderTable, 5, 1) = 1;
    cat.flag(ProviderTable, 10, 1) = 1;
    RowColour colour;
    EXPECT_EQ(
        BuildProviderPage(cat, 5, colour, kServer),
        R"(<h3 align="center">My</h3><table>)"
        R"(<tr><td class=td1>Название фирмы:</td><td  class=td2>ООО "Хост"</td></tr>)"
        R"(<tr><td class=td1>Адрес</td><td class=td2>Москва</td></tr>)"
        R"(<tr><td class=td1>Телефон</td><td class=td2> (495) 123-45-67 (812) 765-43-21</td></tr>)"
        R"(<tr><td class=td1>URL</td><td class=td2><a class=menu  href="http://cat.example/stat.php?id=5" target="new">my.host.ru</a></td></tr>)"
        R"(<tr><td class=td1>E-mail</td><td class=td2><a class=menu href="mailto:info@my.host.ru">info@my.host.ru</a></td></tr>)"
        R"(<tr><td class=td1>Дата обновления:</td><td class=td2>15.03.2004</td></tr></table><table align=center border=1>)" +
            providerTail(
                planColumns(economyCells(), 1, true),
                "<h4 class=h4 align=center>Дополнительная информация</h4>line one<br>line two",
                "<li>Безналичный расчет<li>Система WebMoney<li>Баннерные показы"));
}

TEST_F(PlanPagesTest, ProviderTexts) {
    struct Case {
        const char* site;
        std::array<const char*, 6> phones;
        const char* date;
        std::string heading;
        std::string phoneRow;  // empty: no row
        std::string dateText;
    };
    const Case cases[] = {
        {"shop.alpha.beta",
         {"1", "2", "", "", "", ""},
         "2004-03-15",
         "Shop",
         " (1) 2",
         "15.03.2004"},
        {"nodot", {"", "", "2", "22", "", "x"}, "2004-3-5", "", " (2) 22", ".3-.2004"},
        {"MY-SITE.RU", {"", "", "", "", "3", ""}, "", "My-Site", " (3) ", ".."},
        {"хост.рф", {"", "1", "", "", "", ""}, "2010-12-01", "хост", "", "01.12.2010"},
    };
    for (const Case& c : cases) {
        cat.text(ProviderTable, slot::WebAddress, 1) = c.site;
        for (int i = 0; i < 6; ++i) cat.text(ProviderTable, slot::Phone1Code + i, 1) = c.phones[i];
        cat.text(ProviderTable, slot::UpdatedOn, 1) = c.date;
        RowColour colour;
        const std::string body = BuildProviderPage(cat, 5, colour, kServer);
        EXPECT_EQ(
            body.rfind("<h3 align=\"center\">" + c.heading + "</h3><table><tr><td class=td1>", 0),
            0u)
            << c.site;
        EXPECT_EQ(contains(body, "Телефон"), !c.phoneRow.empty()) << c.site;
        if (!c.phoneRow.empty()) {
            EXPECT_TRUE(contains(body, "<tr><td class=td1>Телефон</td><td class=td2>" + c.phoneRow +
                                           "</td></tr><tr><td class=td1>URL"))
                << c.site;
        }
        EXPECT_TRUE(contains(body, "<td class=td2>" + c.dateText + "</td></tr></table>")) << c.site;
    }
}

TEST_F(PlanPagesTest, ProviderWithoutPlans) {
    cat.number(PlanTable, slot::PlanProviderId, 2) = 9;
    RowColour colour;
    const std::string body = BuildProviderPage(cat, 6, colour, kServer);
    EXPECT_TRUE(
        contains(body, "<tr><td colspan=1>&nbsp;</td></tr><tr bgcolor=#F4F4FF><td>PHP</td></tr>"));
    EXPECT_TRUE(
        contains(body, "<tr><td>&nbsp;</td></tr></table><h4 class=h4 align=center>Способы"));
    EXPECT_EQ(count(body, "<td align=center>"), 0);
}

TEST_F(PlanPagesTest, UnknownProviderIsBuiltFromEmptyTexts) {
    // Row 4 carries the number of a provider that is not in the table.
    addPlan(cat, 4, "Сирота", 50, 77);
    cat.flag(ProviderTable, 1, 1) = 1;
    RowColour colour;
    std::vector<std::string> cells(26);
    cells[1] = "<td class=name align=center>Сирота</td>";
    for (int s = 2; s <= 9; ++s) cells[s] = "<td align=center>0</td>";
    for (int s = 10; s <= 24; ++s) cells[s] = "<td align=center>-</td>";
    cells[25] =
        R"(<td class=name align=center><a class="menu" target="new" href="http://cat.example/stat.php?id=77&type=1&nom=50">Заказать</a></td>)";
    EXPECT_EQ(
        BuildProviderPage(cat, 77, colour, kServer),
        R"(<h3 align="center"></h3><table>)"
        R"(<tr><td class=td1>URL</td><td class=td2><a class=menu  href="http://cat.example/stat.php?id=77" target="new"></a></td></tr>)"
        R"(<tr><td class=td1>E-mail</td><td class=td2><a class=menu href="mailto:"></a></td></tr>)"
        R"(<tr><td class=td1>Дата обновления:</td><td class=td2>..</td></tr></table><table align=center border=1>)" +
            providerTail(planColumns(cells, 1, true), "", ""));
}

}  // namespace
}  // namespace zorbinta
