// XmlDocument against pugixml on the same layout-like document of about 1 MB:
// a root with thousands of key elements of six attributes each.
//
// By default glibc hands freed heap pages back to the system after every
// iteration, and faulting them in again dominates pugixml's figures on
// virtual machines. For figures of the parsers themselves run with
//   GLIBC_TUNABLES=glibc.malloc.trim_threshold=268435456:glibc.malloc.top_pad=67108864:glibc.malloc.mmap_threshold=33554432

#include "xml/XmlDocument.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>

namespace {

const std::string& LayoutDocument() {
    static const std::string text = [] {
        std::string t = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                        "<layout model=\"bench\" rows=\"6\" cols=\"22\">\r\n";
        int i = 0;
        while (t.size() < 1024 * 1024) {
            const int row = i / 22 % 6;
            const int col = i % 22;
            t += "<key code=\"0x" + std::to_string(4 + i % 200) + "\" name=\"K" +
                 std::to_string(i) + "\" key_index=\"" + std::to_string(i) + "\" row_col=\"" +
                 std::to_string(row) + "," + std::to_string(col) + "\" rect=\"" +
                 std::to_string(10 + col * 50) + "," + std::to_string(20 + row * 50) + "," +
                 std::to_string(50 + col * 50) + "," + std::to_string(60 + row * 50) + "\" led=\"" +
                 std::to_string(i % 128) + "\"/>\r\n";
            ++i;
        }
        t += "</layout>\r\n";
        return t;
    }();
    return text;
}

constexpr const char* kAttributes[] = {"code", "name", "key_index", "row_col", "rect", "led"};

void BM_XmlDocumentParse(benchmark::State& state) {
    const std::string& text = LayoutDocument();
    for (auto _ : state) {
        kovrin::XmlDocument doc;
        benchmark::DoNotOptimize(doc.SetText(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_XmlDocumentParse)->Unit(benchmark::kMillisecond);

void BM_PugixmlParse(benchmark::State& state) {
    const std::string& text = LayoutDocument();
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_buffer(text.data(), text.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond);

// Parse, then read every attribute of every key as the layout reader does.
void BM_XmlDocumentParseAndRead(benchmark::State& state) {
    const std::string& text = LayoutDocument();
    for (auto _ : state) {
        kovrin::XmlDocument doc;
        doc.SetText(text);
        doc.FindElement("layout");
        doc.EnterElement();
        std::size_t total = 0;
        while (doc.FindElement("key")) {
            for (const char* name : kAttributes) {
                total += doc.GetAttribute(name).size();
            }
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_XmlDocumentParseAndRead)->Unit(benchmark::kMillisecond);

void BM_PugixmlParseAndRead(benchmark::State& state) {
    const std::string& text = LayoutDocument();
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_buffer(text.data(), text.size());
        std::size_t total = 0;
        for (const pugi::xml_node key : doc.child("layout").children("key")) {
            for (const char* name : kAttributes) {
                total += std::string(key.attribute(name).value()).size();
            }
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlParseAndRead)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
