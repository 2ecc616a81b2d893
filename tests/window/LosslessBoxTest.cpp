// "无损剪切" is offered only for a plain range: greyed, with a tip, while a fade is ticked or a
// factor is not 1.00.
#include "ControlIds.h"
#include "WindowActions.h"

#include <QCheckBox>

TEST_F(WindowTest, LosslessBoxIsGreyedWhileAFadeOrAFactorIsSet) {
    auto dialog = MakeDialog();
    auto* box = qobject_cast<QCheckBox*>(dialog->GetDlgItem(IDC_CHECK_LOSSLESS));
    ASSERT_NE(box, nullptr);
    const QString plainTip = box->toolTip();
    EXPECT_TRUE(box->isEnabled());
    for (const auto& [set, undo] : {std::pair{IDC_CHECK_FADE_IN, IDC_CHECK_FADE_IN},
                                    std::pair{IDC_CHECK_FADE_OUT, IDC_CHECK_FADE_OUT},
                                    std::pair{IDC_BTN_SPEED_PLUS, IDC_BTN_SPEED_MINUS},
                                    std::pair{IDC_BTN_PITCH_MINUS, IDC_BTN_PITCH_PLUS}}) {
        Click(*dialog, set);
        EXPECT_FALSE(box->isEnabled()) << set;
        EXPECT_NE(box->toolTip(), plainTip) << set;
        Click(*dialog, undo);
        EXPECT_TRUE(box->isEnabled()) << set;
        EXPECT_EQ(box->toolTip(), plainTip) << set;
    }
}
