// SPDX-License-Identifier: GPL-3.0-or-later
// Файл → Экспорт таблицы: the two CSV dialects, the table of every page kind
// with a list (and none on the others), the whole list in the order the page
// was built in, and a write that fails without leaving anything behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "catalogue/core/FileIO.h"
#include "pages/core/CsvText.h"
#include "pages/core/PageOutput.h"
#include "tests/AnotherUser.h"
#include "tests/FakePlatform.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;
using testing::FakePlatform;
using testing::ProgramFolder;
using testing::ScriptedHttp;

TEST(CsvText, DialectsQuoteOnlyWhatTheyMust) {
    const PageTable table{"t",
                          Paper::Portrait,
                          {"Имя", "Цена"},
                          {{TableCell::of("a;b"), TableCell::of(7.5)},
                           {TableCell::of("a,b"), TableCell::of(10.0)},
                           {TableCell::of("say \"hi\""), TableCell::of("неогр.")},
                           {TableCell::of("two\r\nlines"), TableCell::of(0.125)}}};
    const struct {
        CsvDialect dialect;
        const char* bytes;
    } cases[] = {
        {CsvDialect::Excel,
         "\xEF\xBB\xBFИмя;Цена\r\n\"a;b\";7,5\r\na,b;10\r\n\"say \"\"hi\"\"\";неогр.\r\n"
         "\"two\r\nlines\";0,125\r\n"},
        {CsvDialect::Rfc4180,
         "Имя,Цена\r\na;b,7.5\r\n\"a,b\",10\r\n\"say \"\"hi\"\"\",неогр.\r\n"
         "\"two\r\nlines\",0.125\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(csvText(table, c.dialect), c.bytes);
}

std::string prov(int id, const std::string& site, const std::string& date) {
    return "prov|" + std::to_string(id) + "|Фирма|Адрес|495|111|||||" + site + "|m@" + site + "|" +
           date + "||1|0|0|0|0|0|0|0|0|0|";
}
// Flags: PHP, Perl, CGI on; the rest off but the last (Ежедневный Back-Up).
std::string plan(const std::string& name, int provider, const std::string& disk,
                 const std::string& traffic, const std::string& cost) {
    return "vs|" + name + "|" + std::to_string(provider * 10) + "|" + std::to_string(provider) +
           "|" + disk + "|" + traffic + "|1|2|3|" + cost + "|1|0|1|1|1|0|0|0|0|0|0|0|0|0|0|0|1|";
}
const std::string kCatalogue =
    prov(1, "alpha.ru", "2004-03-15") + prov(2, "beta.ru", "2004-12-22") +
    plan("Мини; с точкой", 1, "100", "99999", "7,5") +
    plan("Макси, \"большой\"", 2, "99999", "1000", "20") + plan("Средний", 1, "500", "2000", "12") +
    "free|b.free.ru|нет|php|ok|9999|31|" +
    "free|a.free.ru|да|cgi||25,5|32|dom|.ru|0|1|10|12|0|dom|.com|0|2|8|9|0|";

class Export : public ::testing::Test {
protected:
    void SetUp() override {
        writeFileBytes(folder.path() + "base.db", toCp1251(kCatalogue));
        app = std::make_unique<Application>(
            Platform{fake.pane, fake, fake, fake, fake, fake, fake, http},
            ProgramFiles(folder.path()), "http://srv");
        app->main.start();
        app->search.criteria.Bounds[kPriceBound] = 5000;  // a search that every plan passes
    }
    void go(const std::string& location) {
        fake.pane.navigate(location.find("://") == std::string::npos
                               ? commandUrl(folder.path(), location)
                               : location);
        fake.pane.processAll();
    }
    // Exports the page on show in the dialect; the file's bytes.
    std::string exported(size_t type = 1) {
        fake.saveName = folder.path("out");
        fake.saveType = type;
        app->main.N25Click();
        return fs::exists(folder.path("out.csv")) ? folder.read("out.csv") : "(none)";
    }

    ProgramFolder folder;
    FakePlatform fake;
    ScriptedHttp http;
    std::unique_ptr<Application> app;
};

TEST_F(Export, EveryPageKindWithAListAndNoOther) {
    const std::string plans =
        "Тарифный план,Дисковое пространство(Мб),Трафик,Количество "
        "почтовых ящиков,Количество доменов 3 уровня,Количество баз "
        "MySQL,Месячная стоимость,Минимальный срок оплаты,Тестовый период "
        "(дней),PHP,Perl,CGI-BIN директория,Поддержка SSI,Запуск скриптов "
        "по расписанию(Cron),SSH доступ,Страницы ошибок,FTP доступ,Анонимный "
        "FTP,Паролирование директорий,.htaccess,Статистика сайта,Доступ к "
        "log-файлам,Панель управления,Ежедневный Back-Up\r\n";
    const std::string mini =
        "Мини; с точкой,100,неогр.,1,2,3,7.5,1,0,+,+,+,-,-,-,-,-,-,-,-,-,-,-,+\r\n";
    const std::string maxi =
        "\"Макси, \"\"большой\"\"\",неогр.,1000,1,2,3,20,1,0,+,+,+,-,-,-,-,-,-,-,-,-,-,-,+\r\n";
    const std::string results =
        "Тарифный план,Хостинг-провайдер,Дисковое пространство(Мб),Трафик,Опции,Месячная "
        "стоимость(y.e.)\r\n";
    const std::string options = "\"PHP, Perl, CGI-BIN директория, Ежедневный Back-Up\"";
    const std::string cost =
        "Тарифный план,Хостинг-провайдер,Месяцев оплаты,Хостинг(y.e.),Домен(y.e.),Регистратор,"
        "Итого(y.e.),В месяц(y.e.)\r\n";
    const struct {
        const char* location;
        const char* proposed;  // "" where the item is disabled
        std::string csv;
        double diskBound = -1;  // a search with this disk bound; below 0 none yet
    } cases[] = {
        {"stoim", "poisk-2004-12-22.csv",
         results + "Мини; с точкой,alpha.ru,100,неогр.," + options +
             ",7.5\r\nСредний,alpha.ru,500,2000," + options +
             ",12\r\n\"Макси, \"\"большой\"\"\",beta.ru,99999,1000," + options + ",20\r\n"},
        {"http://srav/?nom=2&nom=1&nom=2", "sravnenie-2004-12-22.csv",
         "Хостинг-провайдер," + plans + "beta.ru," + maxi + "alpha.ru," + mini + "beta.ru," + maxi},
        {"provid=1", "provajder-2004-12-22.csv",
         plans + mini + "Средний,500,2000,1,2,3,12,1,0,+,+,+,-,-,-,-,-,-,-,-,-,-,-,+\r\n"},
        {"free", "besplatnyj-hosting-2004-12-22.csv",
         "URL,Дисковое пространство(Мб),Реклама,Сервисы,Коментарий\r\nb.free.ru,Неогр.,нет,php,"
         "ok\r\na.free.ru,25.5,да,cgi,\r\n"},
        {"domprod", "domeny-2004-12-22.csv",
         "Зона,Хостинг-провайдер,Регистрация,Продление\r\n.com,beta.ru,8,9\r\n.ru,alpha.ru,10,"
         "12\r\n"},
        {"http://dom/?zona=.ru%7C&norh=0", "domeny-2004-12-22.csv",
         "Зона,Хостинг-провайдер,Регистрация,Продление\r\n.ru,alpha.ru,10,12\r\n"},
        {"itog", "stoimost-sajta-2004-12-22.csv",
         cost + "Мини; с точкой,alpha.ru,12,90,10,alpha.ru,100,8.33333333333333\r\nСредний,"
                "alpha.ru,12,144,10,alpha.ru,154,12.8333333333333\r\n\"Макси, \"\"большой\"\"\","
                "beta.ru,12,240,10,alpha.ru,250,20.8333333333333\r\n"},
        {"itog?z=0&n=1&s=1", "stoimost-sajta-2004-12-22.csv", cost, 100000},  // none match
        {"pochti", "pochti-podhodyashchie-2004-12-22.csv",
         "Не выполнено,Тарифный план,Хостинг-провайдер,У тарифа,Условие,Разница\r\n"
         "Дисковое пространство(Мб): не меньше 200,Мини; с точкой,alpha.ru,100,200,100\r\n",
         200},
        {"pochti", "", ""},     // no search yet
        {"pochti", "", "", 0},  // nothing misses
        {"luchsh", "luchshie-tarify-2004-12-22.csv",
         "Тарифный план,Хостинг-провайдер," +
             plans.substr(plans.find(',') + 1, plans.find(",PHP") - plans.find(',')) +
             "Опции\r\nМини; с точкой,alpha.ru,100,неогр.,1,2,3,7.5,1,0," + options +
             "\r\nСредний,alpha.ru,500,2000,1,2,3,12,1,0," + options +
             "\r\n\"Макси, \"\"большой\"\"\",beta.ru,неогр.,1000,1,2,3,20,1,0," + options + "\r\n"},
        {"luchsh", "", "", 100000},  // none match
        {"http://srav/?", "", ""},
        {"nochange", "", ""},
        {"izmen", "", ""},  // without base.db.prev: a message, no list
        {"templ/nothing", "", ""},
        {"provid=x", "", ""},  // the conversion error: nothing shown
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.location);
        fs::remove(folder.path("out.csv"));
        fake.saveRequests.clear();
        app->search.searched = c.diskBound >= 0;
        app->search.criteria.Bounds[1] = std::max(c.diskBound, 0.0);
        go("free");  // a page with a list before, which each one replaces
        go(c.location);
        const bool enabled = *c.proposed != '\0';
        ASSERT_EQ(app->main.hasList(), enabled);
        const std::string csv = exported();
        if (!enabled) {
            EXPECT_TRUE(fake.saveRequests.empty());  // no dialog at all
            EXPECT_EQ(csv, "(none)");
            continue;
        }
        ASSERT_EQ(fake.saveRequests.size(), 1u);
        EXPECT_EQ(fake.saveRequests[0].proposedName, c.proposed);
        EXPECT_EQ(csv, c.csv);
        EXPECT_EQ(fake.saved.back(), folder.path("out.csv"));
    }
    // The start page has no list either.
    app->main.writeStartPage();
    EXPECT_FALSE(app->main.hasList());
}

TEST_F(Export, TheChangesPageListsEveryChangeOfAllItsLists) {
    // Before: beta.ru's plan cost 25 and a third provider had a plan; the
    // .ru offer cost 9 to register.
    std::string before = kCatalogue;
    before.replace(before.find("|20|1|0|"), 8, "|25|1|0|");
    before.replace(before.find("|10|12|0|"), 9, "|9|12|0|");
    before.insert(before.find("free|"), plan("Старый", 3, "50", "500", "3"));
    before.insert(before.find("vs|"), prov(3, "gamma.ru", "2004-01-01"));
    writeFileBytes(folder.path("base.db.prev"), toCp1251(before));
    go("izmen");
    EXPECT_EQ(
        exported(),
        "Изменение,Тарифный план,Зона,Хостинг-провайдер,Название фирмы,Дата "
        "обновления,Для клиентов,Дисковое пространство(Мб),Трафик,Прежняя месячная "
        "стоимость(y.e.),Месячная стоимость(y.e.),Прежняя цена регистрации,Регистрация,"
        "Прежняя цена продления,Продление\r\n"
        "Удалённые хостинг-провайдеры,,,gamma.ru,Фирма,01.01.2004,,,,,,,,,\r\n"
        "Удалённые тарифные планы,Старый,,gamma.ru,,,,50,500,,3,,,,\r\n"
        "Новые цены тарифных планов,\"Макси, \"\"большой\"\"\",,beta.ru,,,,,,25,20,,,,\r\n"
        "Новые цены регистрации доменов,,.ru,alpha.ru,,,не заказавших хостинг,,,,,9,10,,12\r\n");
}

TEST_F(Export, TheOrderIsTheOneThePageWasBuiltWith) {
    // A disk bound orders the first results page by disk space once; the
    // fields are empty afterwards, and the file still follows the page.
    app->search.Edit[1] = "1";
    go("stoim");
    EXPECT_TRUE(app->search.Edit[1].empty());
    const std::string csv = exported(0);
    const size_t mini = csv.find("Мини"), middle = csv.find("Средний"), maxi = csv.find("Макси");
    EXPECT_LT(mini, middle);
    EXPECT_LT(middle, maxi);
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);  // the default: Excel's dialect
    EXPECT_NE(csv.find(";7,5\r\n"), std::string::npos);

    // A price bound lists the dearest first.
    app->search.Edit[6] = "100";
    go("space");
    const std::string reversed = exported();
    EXPECT_LT(reversed.find("Макси"), reversed.find("Средний"));
    EXPECT_LT(reversed.find("Средний"), reversed.find("Мини"));

    // A catalogue loaded while the page stays on show (the About box closed)
    // does not change what the page's file holds.
    std::string renamed = kCatalogue;
    renamed.replace(renamed.find("Средний"), std::string("Средний").size(), "Другой");
    writeFileBytes(folder.path() + "base.db", toCp1251(renamed));
    app->main.active();
    EXPECT_EQ(exported(), reversed);
}

TEST_F(Export, AThousandRowsRowForRow) {
    std::string big = prov(1, "alpha.ru", "2004-03-15");
    for (int k = 1; k <= 1000; ++k) {
        big += plan("План " + std::to_string(k), 1, std::to_string(k % 7), "1",
                    std::to_string(1000 - k % 97) + ",5");
    }
    writeFileBytes(folder.path() + "base.db", toCp1251(big));
    app->main.active();
    go("stoim");
    const std::string csv = exported();
    // By price, equal prices in catalogue order: a stable sort of the rows.
    std::vector<int> rows(1000);
    std::iota(rows.begin(), rows.end(), 1);
    std::stable_sort(rows.begin(), rows.end(),
                     [](int a, int b) { return (1000 - a % 97) < (1000 - b % 97); });
    size_t at = csv.find("\r\n") + 2;
    for (const int r : rows) {
        const std::string line = "План " + std::to_string(r) + ",alpha.ru," +
                                 std::to_string(r % 7) +
                                 ",1,\"PHP, Perl, CGI-BIN директория, Ежедневный Back-Up\"," +
                                 std::to_string(1000 - r % 97) + ".5\r\n";
        ASSERT_EQ(csv.compare(at, line.size(), line), 0) << "row " << r;
        at += line.size();
    }
    EXPECT_EQ(at, csv.size());
}

TEST_F(Export, AFailedWriteLeavesNothingBehindAndSaysWhy) {
    go("free");
    writeFileBytes(folder.path("file"), "x");
    const struct {
        std::string path;
        const char* why;
    } cases[] = {
        {folder.path("missing/out.csv"), "такой папки нет или имя файла недопустимо"},
        {folder.path("file/out.csv"), "такой папки нет или имя файла недопустимо"},
    };
    for (const auto& c : cases) {
        fake.saveName = c.path;
        fake.errors.clear();
        runGuarded(fake, [this] { app->main.N25Click(); });
        ASSERT_EQ(fake.errors.size(), 1u);
        EXPECT_EQ(fake.errors[0], "Таблица не сохранена в файл «" + c.path + "»: " + c.why + ".");
        EXPECT_FALSE(fs::exists(folder.path("missing")));
        EXPECT_EQ(folder.read("file"), "x");
    }

    // In a folder the user may not write, an older file stays whole and no
    // temporary file is left. Root writes through permissions: another user tries.
    const std::string old = folder.path("ro/old.csv");
    fs::create_directories(folder.path("ro"));
    writeFileBytes(old, "old");
    fs::permissions(old, fs::perms::all);
    fs::permissions(folder.dir, fs::perms::all);
    fs::permissions(folder.path("ro"), fs::perms::owner_all | fs::perms::group_read |
                                           fs::perms::group_exec | fs::perms::others_read |
                                           fs::perms::others_exec);
    fake.saveName = old;
    const std::string outcome = testing::asAnotherUser([this] {
        try {
            app->main.N25Click();
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string("written");
    });
    if (outcome == "no other user") GTEST_SKIP() << "cannot change to another user";
    EXPECT_EQ(outcome, "Таблица не сохранена в файл «" + old +
                           "»: нет права записи в эту папку или в этот файл.");
    EXPECT_EQ(folder.read("ro/old.csv"), "old");
    EXPECT_FALSE(fs::exists(old + ".tmp"));

    // Where it may, the older file is replaced whole.
    const std::string free = exported();
    fake.saveName = old;
    app->main.N25Click();
    EXPECT_EQ(folder.read("ro/old.csv"), free);
}

}  // namespace
}  // namespace zorbinta
