// Loading a catalogue of 1000 records of every tag, against the floor of
// reading the file, decoding it and cutting it at every "|".

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Win1251.h"
#include "update/core/Settings.h"

namespace {

using namespace zorbinta;

class NoOffer final : public NewVersionOffer {
public:
    void OfferNewVersion(const std::string&, const std::string&) override {}
};

std::string fields(std::initializer_list<std::string> values) {
    std::string out;
    for (const std::string& v : values) out += v + "|";
    return out;
}

// The shape of what scripts/gen_catalogue.py --records 1000 writes.
std::string catalogue(int n) {
    std::string text = "update|" + fields({"3.1", "http://www.zorbinta.ru/download/"});
    for (int i = 1; i <= n; ++i) {
        const std::string s = std::to_string(i);
        text += "prov|" + fields({s,
                                  "ООО «Провайдер " + s + "»",
                                  "Москва, ул. Примерная, д. " + s,
                                  "495",
                                  "123-45-67",
                                  "495",
                                  "765-43-21",
                                  "",
                                  "",
                                  "www.provider" + s + ".ru",
                                  "info@provider" + s + ".ru",
                                  "2004-03-15",
                                  "Строка 1 сведений.\r\nСтрока 2 сведений о провайдере " + s,
                                  "1",
                                  "0",
                                  "1",
                                  "0",
                                  "1",
                                  "0",
                                  "1",
                                  "0",
                                  "1",
                                  "0"});
    }
    for (int i = 1; i <= n; ++i) {
        const std::string s = std::to_string(i);
        text += "vs|" + fields({"Тариф " + s, s,       std::to_string(1 + i % n),
                                "500",        "99999", "25",
                                "10",         "3",     "12,50",
                                "3",          "14",    "1",
                                "1",          "0",     "1",
                                "0",          "1",     "0",
                                "1",          "1",     "0",
                                "1",          "0",     "1",
                                "1",          "0"});
    }
    for (int i = 1; i <= n; ++i) {
        const std::string s = std::to_string(i);
        text += "free|" +
                fields({"www.free" + s + ".ru", "Баннер", "FTP", "Предложение " + s, "100", s});
    }
    for (int i = 1; i <= n; ++i) {
        text += "dom|" + fields({".ru", "0", std::to_string(1 + i % n), "19,5", "17", "1"});
    }
    return toCp1251(text);
}

struct Files {
    Files() {
        std::filesystem::create_directories(dir + "templ");
        writeFileBytes(dir + "templ/config.txt", "0");
        writeFileBytes(dir + "base.db", catalogue(kMaxRows));
    }
    ~Files() { std::filesystem::remove_all(dir); }
    std::string dir =
        (std::filesystem::temp_directory_path() / ("zorbinta-bench-" + std::to_string(::getpid())))
            .string() +
        "/";
};

const Files& files() {
    static const Files f;
    return f;
}

void BM_CatalogueLoad(benchmark::State& state) {
    Catalogue cat;
    NoOffer offer;
    CatalogueLoader loader(cat, files().dir, offer);
    for (auto _ : state) {
        loader.CatalogueLoad();
        benchmark::DoNotOptimize(cat.DomainEnd);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(readFileBytes(files().dir + "base.db").size()));
}
BENCHMARK(BM_CatalogueLoad)->Unit(benchmark::kMillisecond);

// The floor: read, decode every field, nothing else.
void BM_ReadDecodeSplit(benchmark::State& state) {
    for (auto _ : state) {
        const std::string bytes = readFileBytes(files().dir + "base.db");
        std::string_view rest = bytes;
        size_t total = 0;
        for (size_t bar; (bar = rest.find('|')) != std::string_view::npos;) {
            std::string field;
            appendFromCp1251(field, rest.substr(0, bar));
            total += field.size();
            rest.remove_prefix(bar + 1);
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadDecodeSplit)->Unit(benchmark::kMillisecond);

}  // namespace
