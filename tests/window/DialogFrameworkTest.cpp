// The dialog stand-in: the template table, dialog units, timers by id and the message map.
#include "CDialog.h"
#include "ControlIds.h"
#include "TempDir.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

const char kSmallTable[] = R"(# a comment
DIALOG 7 100 50 SimSun 12 400 - "A \"small\" one"
10 IDC_NAME  edit   ""          1 2 30 12 shown  border|autohscroll
-  -         static "two words" 1 20 30 8 hidden center|notify
11 IDC_GO    button "Go"        40 2 30 14 shown -
)";

std::optional<DialogTemplate> ParseUtf8(const char* text, QString* error = nullptr) {
    return DialogTemplate::Parse(QString::fromUtf8(text), error);
}

class SmallDialog : public CDialog {
public:
    explicit SmallDialog(const QString& path) : CDialog(path) {}
    std::vector<int> ticks;
    int clicks = 0;
    int edits = 0;
    bool wired = false;
    bool wrongRowWired = true;

protected:
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        static const MessageMapEntry<SmallDialog> rows[] = {
            {11, Notification::Clicked, &SmallDialog::OnGo},
            {10, Notification::EditChange, &SmallDialog::OnNameChanged},
        };
        wired = WireMessageMap<SmallDialog>(rows);
        static const MessageMapEntry<SmallDialog> wrong[] = {
            {10, Notification::Clicked, &SmallDialog::OnGo},
        };
        wrongRowWired = WireMessageMap<SmallDialog>(wrong);
        return true;
    }
    void OnTimer(int id) override { ticks.push_back(id); }
    void OnGo() { ++clicks; }
    void OnNameChanged() { ++edits; }
};

} // namespace

TEST(DialogTemplateTest, ReadsHeaderRowsQuotesAndStyles) {
    const auto dialog = ParseUtf8(kSmallTable);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->id, 7);
    EXPECT_EQ(dialog->title, "A \"small\" one");
    EXPECT_EQ(dialog->fontFace, "SimSun");
    EXPECT_FALSE(dialog->acceptFiles);
    ASSERT_EQ(dialog->controls.size(), 3u);
    const DialogControl& label = dialog->controls[1];
    EXPECT_EQ(label.id, kStaticControlId);
    EXPECT_TRUE(label.name.isEmpty());
    EXPECT_EQ(label.text, "two words");
    EXPECT_FALSE(label.shown);
    EXPECT_EQ(label.style, StyleCentre | StyleNotify);
    EXPECT_EQ(dialog->controls[0].text, "");
    EXPECT_EQ(dialog->controls[0].units, QRect(1, 2, 30, 12));
    ASSERT_NE(dialog->Find(11), nullptr);
    EXPECT_EQ(dialog->Find(11)->kind, ControlKind::PushButton);
    EXPECT_EQ(dialog->Find(kStaticControlId), nullptr);
}

TEST(DialogTemplateTest, MalformedTablesAreRefusedWithTheLine) {
    const char* header = "DIALOG 7 100 50 SimSun 12 400 - T\n";
    const std::vector<std::string> rows = {
        "10 A slider \"\" 1 2 3 4 shown -",  // unknown kind
        "10 A edit \"\" 1 2 3 4 shown bold", // unknown style
        "10 A edit \"\" 1 2 3 shown -",      // a field missing
        "10 A edit \"open 1 2 3 4 shown -",  // quote left open
        "10 A edit \"\" 1 2 3 4 visible -",  // neither shown nor hidden
        "x A edit \"\" 1 2 3 4 shown -",     // id not a number
        "DIALOG 8 100 50 SimSun 12 400 - T", // a second header
    };
    for (const std::string& row : rows) {
        QString error;
        EXPECT_FALSE(ParseUtf8((header + row).c_str(), &error)) << row;
        EXPECT_TRUE(error.startsWith("line 2")) << error.toStdString();
    }
    QString error;
    EXPECT_FALSE(ParseUtf8("10 A edit \"\" 1 2 3 4 shown -\n", &error)); // no header yet
    EXPECT_FALSE(ParseUtf8("# nothing\n", &error));
    EXPECT_FALSE(DialogTemplate::Load("/no/such/table", &error));
}

TEST(DialogTemplateTest, MainWindowTableHasUniqueIdsAndTheDesignedFrame) {
    QFile file(QStringLiteral(":/DIALOG/%1").arg(IDD_TESMIRA_DIALOG));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto dialog = DialogTemplate::Parse(QString::fromUtf8(file.readAll()));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->id, IDD_TESMIRA_DIALOG);
    EXPECT_EQ(QSize(dialog->width, dialog->height), QSize(409, 319));
    EXPECT_TRUE(dialog->acceptFiles);
    std::set<int> ids;
    std::set<QString> names;
    for (const DialogControl& control : dialog->controls) {
        if (control.id != kStaticControlId) {
            EXPECT_TRUE(ids.insert(control.id).second) << control.id;
            EXPECT_TRUE(names.insert(control.name).second) << control.name.toStdString();
        }
    }
    // The tab order starts with the start edit and the source button.
    EXPECT_EQ(dialog->controls[0].id, IDC_EDIT_START);
    EXPECT_EQ(dialog->controls[1].id, IDC_BTN_SELECT_SOURCE);
    EXPECT_EQ(dialog->controls.back().id, IDC_COUNTER);
}

TEST(DialogBaseUnitsTest, MapsEdgesSoNeighboursStayFlush) {
    const DialogBaseUnits units{8, 16};
    EXPECT_EQ(units.MapDialogRect(QRect(19, 8, 59, 14)), QRect(38, 16, 118, 28));
    EXPECT_EQ(units.MapDialogRect(QRect(409 - 409, 0, 409, 289)).size(), QSize(818, 578));
    const DialogBaseUnits odd{7, 15};
    const QRect left = odd.MapDialogRect(QRect(0, 0, 3, 3));
    const QRect right = odd.MapDialogRect(QRect(3, 3, 3, 3));
    EXPECT_EQ(left.right() + 1, right.left());
    EXPECT_EQ(left.bottom() + 1, right.top());
    EXPECT_EQ(odd.MapDialogRect(QRect(1, 1, 0, 0)).topLeft(), QPoint(2, 2)); // 1.75, 1.875
    EXPECT_EQ(odd.MapDialogRect(QRect(2, 0, 0, 0)).left(), 4);               // 3.5 rounds up
}

class DialogFrameworkTest : public testing::Test {
protected:
    DialogFrameworkTest() {
        QFile table(QString::fromStdString(dir.File("small.tbl")));
        EXPECT_TRUE(table.open(QIODevice::WriteOnly));
        table.write(kSmallTable);
    }
    TempDir dir;
};

TEST_F(DialogFrameworkTest, TimersRunByIdAndTicksCanBeFiredAtWill) {
    SmallDialog dialog(QString::fromStdString(dir.File("small.tbl")));
    ASSERT_TRUE(dialog.Create());
    EXPECT_FALSE(dialog.FireTimer(1));
    dialog.SetTimer(1, 1000);
    dialog.SetTimer(2, 500);
    dialog.SetTimer(1, 250); // restarts with the new period
    EXPECT_EQ(dialog.TimerInterval(1), 250);
    EXPECT_TRUE(dialog.FireTimer(2));
    EXPECT_TRUE(dialog.FireTimer(1));
    dialog.KillTimer(2);
    dialog.KillTimer(7); // never started: nothing happens
    EXPECT_FALSE(dialog.FireTimer(2));
    EXPECT_EQ(dialog.TimerInterval(2), -1);
    EXPECT_EQ(dialog.ticks, (std::vector<int>{2, 1}));
}

TEST_F(DialogFrameworkTest, MessageMapRowsReachTheirHandlers) {
    SmallDialog dialog(QString::fromStdString(dir.File("small.tbl")));
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(dialog.wired);
    EXPECT_FALSE(dialog.wrongRowWired); // an edit sends no clicks
    qobject_cast<QPushButton*>(dialog.GetDlgItem(11))->click();
    dialog.SetDlgItemText(10, "x");
    dialog.SetDlgItemText(10, "x"); // the same text still counts as a change
    EXPECT_EQ(dialog.clicks, 1);
    EXPECT_EQ(dialog.edits, 2);
    EXPECT_EQ(dialog.GetDlgItemText(10), "x");
    EXPECT_EQ(dialog.GetDlgItem(99), nullptr);
    EXPECT_EQ(dialog.GetDlgItemText(99), "");
}

TEST_F(DialogFrameworkTest, MissingTemplateFailsCreate) {
    SmallDialog dialog(QString::fromStdString(dir.File("none.tbl")));
    EXPECT_FALSE(dialog.Create());
    EXPECT_EQ(dialog.DoModal(), -1);
}
