#pragma once
// The welcome box shown once at the end of start-up (template 156, caption
// "Filtaro"): "Willkommen bei", the product picture, "Version 2.01" and one
// message line that the caller sets before opening. Everything is black on
// white.

#include <QString>

#include "forms/TemplateDialog.h"

class CWelcomeDlg : public TemplateDialog {
    Q_OBJECT

public:
    static constexpr int MessageId = 1016;

    explicit CWelcomeDlg(QWidget* parent = nullptr);

    QString m_strMessage;  // initially empty

    // The text the message line shows now.
    QString messageText() const;

protected:
    void onInitDialog() override;
};
