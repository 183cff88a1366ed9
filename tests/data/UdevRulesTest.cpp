#include "tools/udevgen/UdevRules.h"

#include <gtest/gtest.h>

using namespace kovrin;

namespace {

ModelRecord Mode(const std::string& layout, int mode, int vid, int pid, const std::string& desc) {
    ModelRecord record;
    record.device_type = 201;
    record.layout_name = layout;
    record.mode = mode;
    record.vendor_id = vid;
    record.product_id = pid;
    record.description = desc;
    return record;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto i = text.find(part); i != std::string::npos; i = text.find(part, i + 1)) {
        ++n;
    }
    return n;
}

} // namespace

TEST(UdevRules, OneRulePerDistinctIdWithItsModelNamed) {
    Catalogue catalogue;
    catalogue.models.push_back(Mode("k", 0, 0, 0, ""));
    catalogue.models.back().name = "Kb\nKERNEL==\"*\", MODE=\"0666\"";
    catalogue.modes = {Mode("k", 0, 0x3A5C, 0x0101, "cable"), Mode("k", 1, 0x3a5c, 0x0101, "again"),
                       Mode("k", 2, 0x1, 0xABCD, "radio\r\nMODE=\"0666\""),
                       Mode("k", 3, 0x10000, 0x1, "too big"), Mode("k", 4, 0x1, 0, "zero")};
    std::vector<std::string> skipped;
    const std::string rules = MakeUdevRules(catalogue, &skipped);
    EXPECT_EQ(Count(rules, "SUBSYSTEM==\"hidraw\""), 2u) << rules;
    EXPECT_NE(rules.find("SUBSYSTEM==\"hidraw\", KERNELS==\"*:3A5C:0101.*\", TAG+=\"uaccess\"\n"),
              std::string::npos)
        << rules;
    EXPECT_NE(rules.find("KERNELS==\"*:0001:ABCD.*\""), std::string::npos) << rules;
    EXPECT_EQ(skipped.size(), 2u);
    // Texts from the catalogue stay inside their comment lines.
    for (std::size_t start = 0; start < rules.size();) {
        const std::size_t end = rules.find('\n', start);
        const std::string line = rules.substr(start, end - start);
        EXPECT_TRUE(line.empty() || line[0] == '#' || line.starts_with("SUBSYSTEM==\"hidraw\""))
            << line;
        EXPECT_EQ(line.find("MODE="), line[0] == '#' ? line.find("MODE=") : std::string::npos);
        start = end + 1;
    }
    EXPECT_NE(rules.find("# Kb KERNEL==\"*\", MODE=\"0666\", mode 0: cable\n"), std::string::npos)
        << rules;
}
