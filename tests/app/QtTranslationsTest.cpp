#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>

#include "app/QtTranslations.h"
#include "support/QtTestApp.h"

namespace {

TEST(QtTranslations, StandardDialogsSpeakGerman) {
    qtTestApp();
    if (!QFile::exists(QtTranslations::catalogueFile())) {
        GTEST_SKIP() << QtTranslations::catalogueFile().toStdString()
                     << " is missing (package qt6-translations-l10n)";
    }
    {
        const QtTranslations translations;
        ASSERT_TRUE(translations.installed());

        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        EXPECT_EQ(dialog.labelText(QFileDialog::LookIn), QString("Suchen in:"));
        const auto* buttons = dialog.findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QString("Abbrechen"));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Ja"));
        EXPECT_EQ(
            QCoreApplication::translate("QFileDialog",
                                        "%1 already exists.\nDo you want to replace it?"),
            QString::fromUtf8("Die Datei %1 existiert bereits.\nSoll sie überschrieben werden?"));
    }
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QString("Look in:"))
        << "removed again with the object";
}

}  // namespace
