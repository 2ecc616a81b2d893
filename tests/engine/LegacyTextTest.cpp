// The fixed reading of charset-less tag text, on real-life names.
#include "LegacyText.h"
#include "CodePage.h"

#include <gtest/gtest.h>

namespace {

struct LegacyCase {
    std::string bytes;
    LegacyCharset own;
    std::string text; // read alone
};

std::string Hex(const char* hex) {
    std::string out;
    for (; hex[0] && hex[1]; hex += 2) {
        out += static_cast<char>(std::stoi(std::string(hex, 2), nullptr, 16));
    }
    return out;
}

class LegacyTextTest : public testing::TestWithParam<LegacyCase> {};

TEST_P(LegacyTextTest, ClassesAndReadsAlone) {
    const LegacyCase& c = GetParam();
    EXPECT_EQ(ClassifyLegacy(c.bytes), c.own);
    EXPECT_EQ(DecodeLegacy(c.bytes, MajorityCharset({ClassifyLegacy(c.bytes)})), c.text);
}

// GBK names are Big5-valid bytes too; they must still read as GBK.
INSTANTIATE_TEST_SUITE_P(
    Names, LegacyTextTest,
    testing::Values(LegacyCase{Utf8ToGbk("王菲"), LegacyCharset::Gbk, "王菲"},
                    LegacyCase{Utf8ToGbk("周杰伦"), LegacyCharset::Gbk, "周杰伦"},
                    LegacyCase{Utf8ToGbk("欧阳娜娜"), LegacyCharset::Gbk, "欧阳娜娜"},
                    LegacyCase{Utf8ToGbk("麦浚龙 - 耿耿于怀"), LegacyCharset::Gbk,
                               "麦浚龙 - 耿耿于怀"},
                    LegacyCase{Utf8ToGbk("玛丽莲梦露"), LegacyCharset::Gbk, "玛丽莲梦露"},
                    // Real Big5 for 周杰倫 is valid GB18030 with an ideograph: the rule reads GBK.
                    LegacyCase{Hex("a950aa4eaddb"), LegacyCharset::Gbk, "㏄狽\uE154"},
                    LegacyCase{"王菲", LegacyCharset::Utf8, "王菲"},
                    LegacyCase{Hex("c2b3d1b8"), LegacyCharset::Utf8, "³Ѹ"}, // 鲁迅 in GBK
                    LegacyCase{"Caf\xE9", LegacyCharset::Latin1, "Café"},
                    LegacyCase{"D\xE8s", LegacyCharset::Gbk, "D鑣"},
                    LegacyCase{"\xCD\xF5\x01", LegacyCharset::Latin1, "Íõ\x01"},
                    LegacyCase{"Faye Wong", LegacyCharset::Ascii, "Faye Wong"}));

TEST(LegacyText, TheFileMajorityReadsAmbiguousStrings) {
    const std::string luXun = Hex("c2b3d1b8");
    const LegacyCharset chinese =
        MajorityCharset({ClassifyLegacy(Utf8ToGbk("周杰伦")), ClassifyLegacy(Utf8ToGbk("七里香")),
                         ClassifyLegacy(luXun)});
    EXPECT_EQ(DecodeLegacy(luXun, chinese), "鲁迅");
    const LegacyCharset french = MajorityCharset(
        {ClassifyLegacy("Caf\xE9"), ClassifyLegacy("Beyonc\xE9"), ClassifyLegacy("D\xE8s")});
    EXPECT_EQ(DecodeLegacy("D\xE8s", french), "Dès");
    EXPECT_EQ(DecodeLegacy("王菲", french), "王菲");
}

TEST(LegacyText, AnId3v1FieldCutInsideACharacterKeepsTheWholeOnes) {
    const std::string cut = Utf8ToGbk("周杰伦").substr(0, 5);
    EXPECT_EQ(ClassifyLegacy(cut, true), LegacyCharset::Gbk);
    EXPECT_EQ(DecodeLegacy(cut, LegacyCharset::Gbk, true), "周杰");
}

} // namespace
