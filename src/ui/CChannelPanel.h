#pragma once
// The editor of one output channel (template 150): it edits the ChannelRecord
// of its channel in the active preset of the ParameterImage. Every change the
// user makes is written into the image at once, with `redrawPending` set; the
// panel keeps no parameter state beyond what its controls show, and
// refreshFromImage rebuilds the controls from the image.
//
// Values that a file brings and no control can represent stay untouched in
// the image until the user picks a value for that field. A list shows such a
// value as an entry of its own that cannot be picked, in dark red ("7" for a
// level of +7, "Code 21" for a Q code of 21 on EQ1); an input code of 3
// leaves the input field empty.

#include <QFrame>
#include <QString>
#include <array>

#include "forms/DialogBuilder.h"
#include "model/ChannelRecord.h"

class ParameterImage;
class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class CUpDownCtrl;
struct UpDownChange;
struct SpinRange;

// Control ids of template 150.
enum ChannelPanelId : int {
    IdHpFrequency = 1017,
    IdHpFrequencySpin = 1040,
    IdHpType = 1018,
    IdLpFrequency = 1019,
    IdLpFrequencySpin = 1041,
    IdLpType = 1020,
    IdDelay = 1030,
    IdDelaySpin = 1043,
    IdDelayText = 1038,
    IdLevel = 1059,
    IdInput = 1024,
    IdInputSpin = 1067,
    IdLowShelf = 1068,
    IdHighShelf = 1069,
};
// EQ1..EQ6: frequency edit, its spin, Q list and gain list.
constexpr std::array<int, EqBandCount> IdEqFrequency = {1022, 1025, 1031, 1023, 1026, 1032};
constexpr std::array<int, EqBandCount> IdEqFrequencySpin = {1052, 1051, 1050, 1053, 1061, 1064};
constexpr std::array<int, EqBandCount> IdEqQ = {1044, 1054, 1055, 1049, 1062, 1065};
constexpr std::array<int, EqBandCount> IdEqLevel = {1056, 1057, 1058, 1060, 1063, 1066};

class CChannelPanel : public QFrame {
    Q_OBJECT

public:
    // The image is not owned; it must outlive the panel's controls.
    explicit CChannelPanel(ParameterImage* image = nullptr, int channel = 0);

    // The channel index 0..5; set by the owner before create, never after.
    int m_nChannel = 0;

    void setImage(ParameterImage* image) { m_pImage = image; }
    ParameterImage* image() const { return m_pImage; }

    // Creates the controls of template 150 on this panel, makes it a child of
    // `parent` and runs onInitDialog (which loads it from the image).
    void create(QWidget* parent);
    bool isCreated() const { return m_bBound; }

    // Rebuilds every control from the ChannelRecord (activePreset, m_nChannel).
    void refreshFromImage();

    // The control with a template id, or nullptr (for tests and the owner).
    QWidget* control(int id) const { return m_controls.control(id); }

private:
    void onInitDialog();
    // Reads every control into the members.
    void readControls();
    // Pushes the members into the controls with their change notifications
    // blocked.
    void writeControls();

    // The handler of the frequency and delay spins: replaces the proposed
    // change by `stepOf` the value shown and applies it.
    void stepFromShown(CUpDownCtrl* spin, QLineEdit* edit, UpDownChange& change,
                       int (*stepOf)(int from, int proposedDelta));
    void onEditChanged(int id);
    void updateDelayText();
    void onInputChanged();
    void onListPicked(int id);
    void onLowShelf();
    void onHighShelf();
    void switchShelf(int row);
    void fillEq5QList();
    void fillEq6QList();
    void fillShelfRowQList(int row);
    // Applies the EQ5/EQ6 spin range that matches the shelf box of the row.
    void applyShelfRange(int row);
    // Selects item `index` of list `id`, or, when the list has no such item,
    // shows `value` of the record's `field` as an entry of its own
    // (showUnlisted). Returns the index selected.
    int showInList(int id, int index, int field, int value);

    // Sets the one field `k` of this channel in the active preset.
    void writeField(int k, int value);
    void writeField(ChannelField f, int value);
    void setRedrawPending();
    int activePreset() const;

    QLineEdit* edit(int id) const;
    QComboBox* list(int id) const;
    CUpDownCtrl* spin(int id) const;
    QCheckBox* shelfBox(int row) const;
    bool shelving(int row) const;

    ParameterImage* m_pImage = nullptr;
    DialogControls m_controls;
    bool m_bBound = false;

    // Members bound to the controls.
    int m_nHpFrequency = 0;
    int m_nLpFrequency = 0;
    int m_nDelay = 0;
    QString m_strInput;
    std::array<int, EqBandCount> m_anEqFrequency{};
    int m_nHpType = -1;
    int m_nLpType = -1;
    int m_nLevel = -1;
    std::array<int, EqBandCount> m_anEqQ{};
    std::array<int, EqBandCount> m_anEqLevel{};
    int m_nLowShelf = 0;
    int m_nHighShelf = 0;
    QString m_strDelayText = QStringLiteral("Taps");
};
