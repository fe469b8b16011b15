#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/file_name_dialog.h"
#include "platform/window_services.h"

namespace {

// Plays the user once the modal dialog is up.
void WhenDialogOpens(std::function<void(CFileNameDlg&)> play) {
    QTimer::singleShot(0, [play] {
        auto* dialog = qobject_cast<CFileNameDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        play(*dialog);
    });
}

// Japanese arrives committed from the input method, as an IME types it.
void TypeJapanese(QWidget* edit, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(edit, &commit);
}

TEST(FileNameDialog, OpensEmptyWithItsTexts) {
    CFileNameDlg dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ﾀﾞｲｱﾛｸﾞ"));
    EXPECT_TRUE(dialog.Edit()->text().isEmpty());
    EXPECT_TRUE(dialog.OkButton()->isDefault());
    EXPECT_EQ(dialog.OkButton()->text(), "OK");
    EXPECT_EQ(dialog.CancelButton()->text(), QString::fromUtf8("ｷｬﾝｾﾙ"));
    const auto labels = dialog.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(), QString::fromUtf8("新しいファイル名を入力して下さい"));
    EXPECT_TRUE(dialog.isModal());
}

TEST(FileNameDialog, OkTakesTheTypedNameInTheFileSystemsEncoding) {
    const QString typed = QString::fromUtf8("もんだい2.dat");
    WhenDialogOpens([](CFileNameDlg& dialog) {
        TypeJapanese(dialog.Edit(), QString::fromUtf8("もんだい"));
        QTest::keyClicks(dialog.Edit(), "2.dat");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    std::string name = "before";
    EXPECT_EQ(RunFileNameDialog(nullptr, &name), IDOK);
    EXPECT_EQ(QByteArray::fromStdString(name), QFile::encodeName(typed));

    WhenDialogOpens([](CFileNameDlg& dialog) {
        QTest::keyClicks(dialog.Edit(), "a.txt");
        QTest::keyClick(dialog.Edit(), Qt::Key_Return);  // the default button
    });
    EXPECT_EQ(RunFileNameDialog(nullptr, &name), IDOK);
    EXPECT_EQ(name, "a.txt");

    WhenDialogOpens([](CFileNameDlg& dialog) { dialog.OkButton()->click(); });
    EXPECT_EQ(RunFileNameDialog(nullptr, &name), IDOK);
    EXPECT_EQ(name, "") << "an empty name is taken as it is";
}

TEST(FileNameDialog, CancelAndEscapeLeaveTheNameAlone) {
    std::string name = "Mondai.dat";
    WhenDialogOpens([](CFileNameDlg& dialog) {
        QTest::keyClicks(dialog.Edit(), "other.dat");
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(RunFileNameDialog(nullptr, &name), IDCANCEL);
    WhenDialogOpens([](CFileNameDlg& dialog) {
        QTest::keyClicks(dialog.Edit(), "other.dat");
        QTest::keyClick(dialog.Edit(), Qt::Key_Escape);
    });
    EXPECT_EQ(RunFileNameDialog(nullptr, &name), IDCANCEL);
    WhenDialogOpens([](CFileNameDlg& dialog) { dialog.close(); });
    EXPECT_EQ(RunFileNameDialog(nullptr, &name), IDCANCEL);
    EXPECT_EQ(name, "Mondai.dat");
}

}  // namespace
