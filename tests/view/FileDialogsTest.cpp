// The Qt file dialogs behind askFilePath, answered through the modal runner.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <filesystem>

#include "forms/ModalRunner.h"
#include "support/QtTestApp.h"
#include "support/ScratchDir.h"
#include "view/FileDialogs.h"

namespace {

struct SeenFileDialog {
    QStringList filters;
    QString suffix;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QStringList selected;
    QString directory;
};

// Answers the dialog as a person would who types `name` and presses OK
// (or cancels when `name` is empty).
SeenFileDialog answer(FileDialogKind kind, const QString& name, std::optional<std::string>& result,
                      const std::string& folder = {}) {
    SeenFileDialog seen;
    ScopedModalAnswer modal([&](QDialog& dialog) {
        auto* files = dynamic_cast<QFileDialog*>(&dialog);
        if (!files) {
            ADD_FAILURE() << "not a file dialog";
            return int(QDialog::Rejected);
        }
        seen.filters = files->nameFilters();
        seen.suffix = files->defaultSuffix();
        seen.acceptMode = files->acceptMode();
        seen.fileMode = files->fileMode();
        seen.selected = files->selectedFiles();
        seen.directory = files->directory().absolutePath();
        if (name.isEmpty()) {
            files->reject();
        } else {
            files->selectFile(name);
            static_cast<QDialog*>(files)->accept();
        }
        return files->result();
    });
    result = askFilePath(kind, folder, nullptr);
    return seen;
}

TEST(FileDialogs, OpenOffersParameterFilesThatExist) {
    qtTestApp();
    ScratchDir dir;
    writeFileBytes(dir.file("Bass.dat"), "x");
    std::optional<std::string> path;
    const SeenFileDialog seen =
        answer(FileDialogKind::Open, QString::fromStdString(dir.file("Bass.dat")), path);
    EXPECT_EQ(seen.filters, QStringList{"Filtaro Dateien (*.dat)"});
    EXPECT_EQ(seen.suffix, "dat");
    EXPECT_EQ(seen.acceptMode, QFileDialog::AcceptOpen);
    EXPECT_EQ(seen.fileMode, QFileDialog::ExistingFile);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, dir.file("Bass.dat"));

    answer(FileDialogKind::Open, QString(), path);
    EXPECT_FALSE(path.has_value());
}

TEST(FileDialogs, SaveAddsTheDefaultExtension) {
    qtTestApp();
    ScratchDir dir;
    std::optional<std::string> path;
    const SeenFileDialog seen =
        answer(FileDialogKind::Save, QString::fromStdString(dir.file("Kino")), path);
    EXPECT_EQ(seen.filters, QStringList{"Filtaro Dateien (*.dat)"});
    EXPECT_EQ(seen.acceptMode, QFileDialog::AcceptSave);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, dir.file("Kino.dat"));
}

// Each dialog starts in the folder it is given, whatever folder the one
// before was left in.
TEST(FileDialogs, StartInTheFolderTheyAreGiven) {
    qtTestApp();
    ScratchDir dir;
    std::filesystem::create_directories(dir.file("versteckt"));
    std::filesystem::create_directories(dir.file("Projekt"));
    writeFileBytes(dir.file("versteckt/alt.dat"), "x");
    std::optional<std::string> path;
    answer(FileDialogKind::Open, QString::fromStdString(dir.file("versteckt/alt.dat")), path,
           dir.file("versteckt"));
    for (const FileDialogKind kind :
         {FileDialogKind::Open, FileDialogKind::Save, FileDialogKind::ExportCsv,
          FileDialogKind::Measurement, FileDialogKind::ExportCamillaDsp}) {
        EXPECT_EQ(answer(kind, QString(), path, dir.file("Projekt")).directory,
                  QString::fromStdString(dir.file("Projekt")));
    }
}

TEST(FileDialogs, FolderIsTheCurrentFilesOrTheStartupDirectory) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.file("Projekt"));
    EXPECT_EQ(fileDialogFolder(dir.file("Projekt/Kino.dat"), "/start"), dir.file("Projekt"));
    EXPECT_EQ(fileDialogFolder(dir.file("weg/Kino.dat"), "/start"), "/start");
    EXPECT_EQ(fileDialogFolder("Kino.dat", "/start"), "/start");
}

}  // namespace
