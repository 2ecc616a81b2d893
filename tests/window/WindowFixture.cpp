#include "WindowFixture.h"

#include "FileDialogs.h"
#include "Mp3Gen.h"
#include "ProcessExit.h"
#include "Shell.h"

#include <QAbstractButton>
#include <filesystem>

WindowTest::WindowTest() : exeFolder(dir.File("bin") + "/"), home(dir.File("home")) {
    std::filesystem::create_directories(exeFolder);
    std::filesystem::create_directories(home);
    fake.Configure(1, 0, 0);
    SetMessageBoxFunction([this](QWidget* owner, const QString& text, MessageBoxKind kind) {
        messages << text;
        kinds.push_back(kind);
        owned.push_back(owner != nullptr);
        return kind == MessageBoxKind::ExitQuestion ? exitAnswer : IDOK;
    });
    SetEndProcessFunction([this](int code) { exitCodes.push_back(code); });
    SetOpenFileFunction([this](QWidget*, const QString& filter) {
        openFileFilters << filter;
        return openFileAnswer;
    });
    SetBrowseFolderFunction([this](const QString& title, const QString& startFolder) {
        folderTitles << title;
        folderStarts << startFolder;
        return folderAnswer;
    });
    SetShowItemsFunction([this](const QStringList& uris) {
        shownItems.push_back(uris);
        return true;
    });
    SetOpenUrlFunction([this](const QUrl& url) {
        openedUrls.push_back(url);
        return true;
    });
}

WindowTest::~WindowTest() {
    SetMessageBoxFunction({});
    SetEndProcessFunction({});
    SetOpenFileFunction({});
    SetBrowseFolderFunction({});
    SetShowItemsFunction({});
    SetOpenUrlFunction({});
}

std::unique_ptr<CTesmiraDlg> WindowTest::MakeDialog(const std::string& playerPath,
                                                    const std::string& encoderPath) {
    auto dialog = std::make_unique<CTesmiraDlg>(SettingsEnvironment{exeFolder, home, ""},
                                                playerPath, encoderPath);
    EXPECT_TRUE(dialog->Create());
    return dialog;
}

void WindowTest::Click(CTesmiraDlg& dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id));
    ASSERT_NE(button, nullptr) << "control " << id;
    button->click();
}

std::string WindowTest::MakeSong(const std::string& name, double seconds) {
    mp3gen::ToneSpec params;
    params.seconds = seconds;
    const std::string path = dir.File(name);
    EXPECT_TRUE(mp3gen::WriteFileBytes(path, mp3gen::MakeMp3(params)));
    return path;
}
