#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include "model/ParameterImage.h"
#include "support/QtTestApp.h"
#include "support/RecordingUserServices.h"
#include "ui/CGraphOptionsDlg.h"

namespace {

const char* const Order = "Startfrequenz muß kleiner als die Endfrequenz sein!";

struct Outcome {
    bool accepted = false;
    std::vector<RecordedMessage> messages;
    QWidget* focus = nullptr;
    int start = 0;
    int end = 0;
};

// Types the two texts and presses OK.
Outcome pressOk(const QString& start, const QString& end, CGraphOptionsDlg** keep = nullptr) {
    qtTestApp();
    RecordingUserServices services;
    static ParameterImage image;
    auto* dlg = new CGraphOptionsDlg(&image);
    dlg->ensureInitDialog();
    dlg->startEdit()->setText(start);
    dlg->endEdit()->setText(end);
    dlg->onOK();
    Outcome o{dlg->result() == QDialog::Accepted, services.messages, dlg->focusWidget(),
              dlg->m_nStart, dlg->m_nEnd};
    if (keep) {
        *keep = dlg;
    } else {
        delete dlg;
    }
    return o;
}

TEST(CGraphOptionsDlg, AcceptsRangesUpToBothLimits) {
    for (const auto& [start, end] : {std::pair{10, 600}, {10000, 20000}, {20, 20000}, {599, 600}}) {
        const Outcome o = pressOk(QString::number(start), QString::number(end));
        EXPECT_TRUE(o.accepted) << start << ".." << end;
        EXPECT_TRUE(o.messages.empty());
        EXPECT_EQ(o.start, start);
        EXPECT_EQ(o.end, end);
    }
    // Blanks around the number and a sign are what the framework accepts too.
    const Outcome o = pressOk(" +30 ", "15000 ");
    EXPECT_TRUE(o.accepted);
    EXPECT_EQ(o.start, 30);
    EXPECT_EQ(o.end, 15000);
}

TEST(CGraphOptionsDlg, StartNotBelowEndIsRefusedWithTheStopBox) {
    for (const auto& [start, end] : {std::pair{"600", "600"}, {"5000", "2000"}, {"10000", "600"}}) {
        const Outcome o = pressOk(start, end);
        EXPECT_FALSE(o.accepted) << start << ".." << end;
        ASSERT_EQ(o.messages.size(), 1u);
        EXPECT_EQ(o.messages[0].text, Order);
        EXPECT_EQ(o.messages[0].title, "Fehler");
        EXPECT_EQ(o.messages[0].icon, MessageIcon::Stop);
    }
}

TEST(CGraphOptionsDlg, RangeChecksComeFirstEndBeforeStart) {
    CGraphOptionsDlg* dlg = nullptr;
    // Both fields wrong: only the end is reported, and it gets the focus.
    Outcome o = pressOk("9", "599", &dlg);
    EXPECT_FALSE(o.accepted);
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(o.messages[0].text, "Geben Sie eine ganze Zahl zwischen 600 und 20000 ein.");
    EXPECT_EQ(o.messages[0].title, "Filtaro");
    EXPECT_EQ(o.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(o.focus, dlg->endEdit());
    EXPECT_EQ(dlg->endEdit()->selectedText(), "599");
    EXPECT_EQ(dlg->startEdit()->text(), "9") << "the entered texts stay";
    delete dlg;

    o = pressOk("9", "20000", &dlg);
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(o.messages[0].text, "Geben Sie eine ganze Zahl zwischen 10 und 10000 ein.");
    EXPECT_EQ(o.focus, dlg->startEdit());
    delete dlg;

    // 9000 < 600 would fail the order rule, but the end's range comes first.
    o = pressOk("9000", "20001");
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(o.messages[0].text, "Geben Sie eine ganze Zahl zwischen 600 und 20000 ein.");
    o = pressOk("10001", "20000");
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(o.messages[0].text, "Geben Sie eine ganze Zahl zwischen 10 und 10000 ein.");
}

TEST(CGraphOptionsDlg, TextThatIsNoIntegerGetsTheIntegerPrompt) {
    for (const char* text : {"", "12.5"}) {
        const Outcome o = pressOk("20", text);
        EXPECT_FALSE(o.accepted) << text;
        ASSERT_EQ(o.messages.size(), 1u) << text;
        EXPECT_EQ(o.messages[0].text, "Geben Sie eine ganze Zahl ein.") << text;
    }
    // Too large for any integer: out of range, not a crash or a wrap-around.
    const Outcome o = pressOk("20", "99999999999999999999999");
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(o.messages[0].text, "Geben Sie eine ganze Zahl zwischen 600 und 20000 ein.");
    EXPECT_EQ(pressOk("-4294966696", "20000").messages.at(0).text,
              "Geben Sie eine ganze Zahl zwischen 10 und 10000 ein.");
}

TEST(CGraphOptionsDlg, ShowsTheCallersRangeAndMarksMoves) {
    qtTestApp();
    ParameterImage image;
    CGraphOptionsDlg dlg(&image);
    EXPECT_EQ(dlg.windowTitle(), "Grafikoptionen");
    dlg.m_nStart = 35;
    dlg.m_nEnd = 12000;
    dlg.ensureInitDialog();
    EXPECT_EQ(dlg.startEdit()->text(), "35");
    EXPECT_EQ(dlg.endEdit()->text(), "12000");
    {
        CGraphOptionsDlg odd(&image);
        odd.m_nEnd = -2147483647 - 1;  // a file's: wider than the field
        odd.ensureInitDialog();
        EXPECT_EQ(odd.endEdit()->cursorPosition(), 0) << "shown from its sign, not its tail";
    }
    EXPECT_EQ(dlg.startEdit()->geometry(), QRect(98, 23, 75, 23));  // 65,14 50x14 dialog units
    // Both labels show their whole text on one line, ending left of the fields.
    int labels = 0;
    for (QWidget* w : dlg.controls().all()) {
        auto* label = qobject_cast<QLabel*>(w);
        if (label == nullptr) continue;
        ++labels;
        EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
        EXPECT_GE(label->x(), 0);
        EXPECT_LT(label->geometry().right(), dlg.startEdit()->x()) << label->text().toStdString();
    }
    EXPECT_EQ(labels, 2);

    dlg.move(40, 50);
    dlg.show();
    dlg.move(140, 150);
    EXPECT_EQ(image.tabMarker(), 1);

    // Cancel keeps the members as the caller set them.
    dlg.startEdit()->setText("100");
    dlg.onCancel();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.m_nStart, 35);
}

}  // namespace
