#pragma once
// "Info über Filtaro" (template 100): the version, the baud rate the program
// talks to the device with, and the version of this build.

#include <QString>

#include "forms/TemplateDialog.h"

class ParameterImage;

class CAboutDlg : public TemplateDialog {
    Q_OBJECT

public:
    // `image` may be null (no view yet); a move then marks nothing.
    explicit CAboutDlg(ParameterImage* image, QWidget* parent = nullptr);

    // "Baudrate = %i" with the configured rate (9600 when FILTARO.INI has
    // none), shown in control 1006.
    QString m_strBaudrate;

    static constexpr int BaudrateControlId = 1006;
    // "Programmversion 2.1.0": the build's own version (programVersion).
    static constexpr int VersionControlId = 1007;

protected:
    // The box may have uncovered part of the plot, which only repaints from
    // a fresh drawing.
    void onMove() override;

private:
    ParameterImage* m_pImage;
};
