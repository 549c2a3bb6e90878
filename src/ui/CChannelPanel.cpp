#include "ui/CChannelPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

#include "forms/CEditEx.h"
#include "forms/CUpDownCtrl.h"
#include "forms/ControlData.h"
#include "model/ChannelFieldText.h"
#include "model/ParameterImage.h"
#include "res/DialogTemplates.h"
#include "ui/FrequencyStep.h"
#include "ui/PanelLogic.h"

namespace {

// The tooltip of a list that shows a value no item stands for.
// The tooltip of a list that shows a value no item stands for, after the
// value ("7 dB", "Code 30").
constexpr const char* UnlistedTip =
    " aus der Datei: diese Liste bietet den Wert nicht an. Er bleibt, bis Sie einen Eintrag "
    "wählen.";

// Holding a frequency arrow never speeds up: the only acceleration entry
// starts after 1000 seconds and still steps by one.
const std::vector<UpDownAccel> NoAcceleration = {{1000, 1}};

int inputCodeOfLabel(const QString& label) {
    for (std::size_t i = 0; i < InputTexts.size(); ++i) {
        if (label == toQString(InputTexts[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

CChannelPanel::CChannelPanel(ParameterImage* image, int channel)
    : QFrame(nullptr), m_nChannel(channel), m_pImage(image) {}

void CChannelPanel::create(QWidget* parent) {
    if (m_bBound) {
        return;
    }
    setParent(parent);
    DialogBuilder builder(channelPanelTemplate);
    // All ten value fields are read-only yet white like editable ones.
    for (int id : {IdHpFrequency, IdLpFrequency, IdDelay, IdInput}) {
        builder.use<CEditEx>(id);
    }
    for (int id : IdEqFrequency) {
        builder.use<CEditEx>(id);
    }
    m_controls = builder.build(this);

    for (int id : {IdHpFrequency, IdLpFrequency, IdDelay, IdInput}) {
        connect(edit(id), &QLineEdit::textChanged, this, [this, id] { onEditChanged(id); });
    }
    for (int e = 0; e < EqBandCount; ++e) {
        const int id = IdEqFrequency[e];
        connect(edit(id), &QLineEdit::textChanged, this, [this, id] { onEditChanged(id); });
    }
    auto frequencySpin = [this](int spinId, int editId) {
        CUpDownCtrl* s = spin(spinId);
        QLineEdit* e = edit(editId);
        connect(
            s, &CUpDownCtrl::deltaPos, this,
            [this, s, e](UpDownChange& change) { stepFromShown(s, e, change, frequencyStepDelta); },
            Qt::DirectConnection);
    };
    frequencySpin(IdHpFrequencySpin, IdHpFrequency);
    frequencySpin(IdLpFrequencySpin, IdLpFrequency);
    for (int e = 0; e < EqBandCount; ++e) {
        frequencySpin(IdEqFrequencySpin[e], IdEqFrequency[e]);
    }
    connect(
        spin(IdDelaySpin), &CUpDownCtrl::deltaPos, this,
        [this](UpDownChange& change) {
            stepFromShown(spin(IdDelaySpin), edit(IdDelay), change,
                          [](int, int proposedDelta) { return delayStepDelta(proposedDelta); });
        },
        Qt::DirectConnection);

    std::vector<int> lists = {IdHpType, IdLpType, IdLevel};
    lists.insert(lists.end(), IdEqQ.begin(), IdEqQ.end());
    lists.insert(lists.end(), IdEqLevel.begin(), IdEqLevel.end());
    for (int id : lists) {
        // `activated` comes only from the user, also for the item already selected.
        connect(list(id), &QComboBox::activated, this, [this, id] { onListPicked(id); });
    }
    connect(shelfBox(LowShelfRow), &QCheckBox::clicked, this, &CChannelPanel::onLowShelf);
    connect(shelfBox(HighShelfRow), &QCheckBox::clicked, this, &CChannelPanel::onHighShelf);

    m_bBound = true;
    onInitDialog();
}

void CChannelPanel::onInitDialog() {
    fillList(list(IdHpType), FilterTypeTexts);
    fillList(list(IdLpType), FilterTypeTexts);
    fillList(list(IdLevel), LevelTexts);
    for (int e = 0; e < EqBandCount; ++e) {
        fillList(list(IdEqLevel[e]), EqGainTexts);
        if (!eqBandCanShelve(e)) {
            fillList(list(IdEqQ[e]), eqQItems(e, false));
        }
    }

    for (int e = 0; e < EqBandCount; ++e) {
        spin(IdEqFrequencySpin[e])->setRange(EqFrequencyRange.lo, EqFrequencyRange.hi);
    }
    spin(IdHpFrequencySpin)->setRange(HpFrequencyRange.lo, HpFrequencyRange.hi);
    spin(IdLpFrequencySpin)->setRange(LpFrequencyRange.lo, LpFrequencyRange.hi);
    spin(IdInputSpin)->setRange(InputRange.lo, InputRange.hi);
    const SpinRange delay = delaySpinRange(m_nChannel);
    spin(IdDelaySpin)->setRange(delay.lo, delay.hi);
    for (int id : IdEqFrequencySpin) {
        spin(id)->setAccel(NoAcceleration);
    }
    spin(IdHpFrequencySpin)->setAccel(NoAcceleration);
    spin(IdLpFrequencySpin)->setAccel(NoAcceleration);

    refreshFromImage();
    m_controls.get<CEditEx>(IdHpFrequency)->setDisabledState(true);  // no visible effect
}

QLineEdit* CChannelPanel::edit(int id) const {
    return m_controls.get<QLineEdit>(id);
}
QComboBox* CChannelPanel::list(int id) const {
    return m_controls.get<QComboBox>(id);
}
CUpDownCtrl* CChannelPanel::spin(int id) const {
    return m_controls.get<CUpDownCtrl>(id);
}

QCheckBox* CChannelPanel::shelfBox(int row) const {
    return m_controls.get<QCheckBox>(row == LowShelfRow ? IdLowShelf : IdHighShelf);
}

bool CChannelPanel::shelving(int row) const {
    if (row == LowShelfRow) return m_nLowShelf != 0;
    if (row == HighShelfRow) return m_nHighShelf != 0;
    return false;
}

int CChannelPanel::activePreset() const {
    return m_pImage->activePreset();
}

void CChannelPanel::writeField(int k, int value) {
    m_pImage->setField(activePreset(), m_nChannel, k, value);
}

void CChannelPanel::writeField(ChannelField f, int value) {
    writeField(static_cast<int>(f), value);
}

void CChannelPanel::setRedrawPending() {
    m_pImage->setRedrawPending(1);
}

void CChannelPanel::readControls() {
    readInt(edit(IdHpFrequency), m_nHpFrequency);
    readInt(edit(IdLpFrequency), m_nLpFrequency);
    readInt(edit(IdDelay), m_nDelay);
    m_strInput = edit(IdInput)->text();
    for (int e = 0; e < EqBandCount; ++e) {
        readInt(edit(IdEqFrequency[e]), m_anEqFrequency[e]);
        m_anEqQ[e] = list(IdEqQ[e])->currentIndex();
        m_anEqLevel[e] = list(IdEqLevel[e])->currentIndex();
    }
    m_nHpType = list(IdHpType)->currentIndex();
    m_nLpType = list(IdLpType)->currentIndex();
    m_nLevel = list(IdLevel)->currentIndex();
    m_nLowShelf = shelfBox(LowShelfRow)->isChecked() ? 1 : 0;
    m_nHighShelf = shelfBox(HighShelfRow)->isChecked() ? 1 : 0;
    m_strDelayText = m_controls.get<QLabel>(IdDelayText)->text();
}

void CChannelPanel::writeControls() {
    pushText(edit(IdHpFrequency), QString::number(m_nHpFrequency));
    pushText(edit(IdLpFrequency), QString::number(m_nLpFrequency));
    pushText(edit(IdDelay), QString::number(m_nDelay));
    // The input stepper continues from the input shown (it cannot read a
    // number from the label itself).
    if (const int code = inputCodeOfLabel(m_strInput); code >= 0) {
        const QSignalBlocker block(edit(IdInput));
        spin(IdInputSpin)->setPos(code);
    }
    pushText(edit(IdInput), m_strInput);
    for (int e = 0; e < EqBandCount; ++e) {
        pushText(edit(IdEqFrequency[e]), QString::number(m_anEqFrequency[e]));
        selectIndex(list(IdEqQ[e]), m_anEqQ[e]);
        selectIndex(list(IdEqLevel[e]), m_anEqLevel[e]);
    }
    selectIndex(list(IdHpType), m_nHpType);
    selectIndex(list(IdLpType), m_nLpType);
    selectIndex(list(IdLevel), m_nLevel);
    for (int row : {LowShelfRow, HighShelfRow}) {
        const QSignalBlocker block(shelfBox(row));
        shelfBox(row)->setChecked(shelving(row));
    }
    m_controls.get<QLabel>(IdDelayText)->setText(m_strDelayText);
}

void CChannelPanel::stepFromShown(CUpDownCtrl* s, QLineEdit* e, UpDownChange& change,
                                  int (*stepOf)(int from, int proposedDelta)) {
    if (!m_bBound) {
        return;
    }
    // The panel applies the step itself, from the value shown: the spin's
    // own position may be stale or outside its range (values from files).
    change.cancel = true;
    bool ok = false;
    const int shown = e->text().trimmed().toInt(&ok);
    const int from = ok ? shown : change.pos;
    const int to = spinApply(from, stepOf(from, change.delta), SpinRange{s->lower(), s->upper()});
    if (ok && to == shown) {
        return;
    }
    s->setPos(to);  // writes the edit, whose handler stores the field
}

void CChannelPanel::onEditChanged(int id) {
    if (!m_bBound || m_pImage == nullptr) {
        return;
    }
    if (id == IdDelay) {
        updateDelayText();
        return;
    }
    if (id == IdInput) {
        onInputChanged();
        return;
    }
    readControls();
    if (id == IdHpFrequency) {
        writeField(ChannelField::hpFrequency, m_nHpFrequency);
    } else if (id == IdLpFrequency) {
        writeField(ChannelField::lpFrequency, m_nLpFrequency);
    } else {
        const auto it = std::find(IdEqFrequency.begin(), IdEqFrequency.end(), id);
        const int e = static_cast<int>(it - IdEqFrequency.begin());
        writeField(eqFrequencyField(e), m_anEqFrequency[e]);
    }
    setRedrawPending();
}

void CChannelPanel::updateDelayText() {
    if (!m_bBound || m_pImage == nullptr) {
        return;
    }
    readControls();
    writeField(ChannelField::delayTaps, m_nDelay);
    m_strDelayText = QString::fromStdString(delayText(m_nDelay));
    m_controls.get<QLabel>(IdDelayText)->setText(m_strDelayText);
    m_controls.get<QLabel>(IdDelayText)->setToolTip(QString::fromStdString(delayToolTip(m_nDelay)));
    writeControls();
    setRedrawPending();
}

void CChannelPanel::onInputChanged() {
    readControls();
    if (const auto code = inputFromStepperText(m_strInput.toStdString())) {
        writeField(ChannelField::input, *code);
        m_strInput = toQString(inputText(*code));
    }
    writeControls();
    setRedrawPending();
}

void CChannelPanel::onListPicked(int id) {
    if (!m_bBound || m_pImage == nullptr) {
        return;
    }
    readControls();
    if (id == IdHpType) {
        writeField(ChannelField::hpType, m_nHpType);
    } else if (id == IdLpType) {
        writeField(ChannelField::lpType, m_nLpType);
    } else if (id == IdLevel) {
        writeField(ChannelField::level, levelIndexToDb(m_nLevel));
    }
    for (int e = 0; e < EqBandCount; ++e) {
        if (id == IdEqQ[e]) {
            writeField(eqQField(e), qIndexToCode(m_anEqQ[e], shelving(e)));
        } else if (id == IdEqLevel[e]) {
            writeField(eqLevelField(e), eqLevelIndexToDb(m_anEqLevel[e]));
        }
    }
    // The value from the file that the list showed is gone now.
    selectIndex(list(id), list(id)->currentIndex());
    setRedrawPending();
}

void CChannelPanel::onLowShelf() {
    switchShelf(LowShelfRow);
}
void CChannelPanel::onHighShelf() {
    switchShelf(HighShelfRow);
}

void CChannelPanel::switchShelf(int row) {
    if (!m_bBound || m_pImage == nullptr) {
        return;
    }
    readControls();  // the box already shows its new state
    const ShelfSwitch values = shelfSwitchValues(row, shelving(row));
    writeField(eqLevelField(row), values.level);
    m_anEqLevel[row] = dbToEqLevelIndex(values.level);
    applyShelfRange(row);
    writeField(eqFrequencyField(row), values.frequency);
    writeField(eqQField(row), values.qCode);
    m_anEqFrequency[row] = values.frequency;
    m_anEqQ[row] = values.qIndex;
    writeControls();
    if (row == LowShelfRow) {
        fillEq5QList();
    } else {
        fillEq6QList();
    }
    selectIndex(list(IdEqQ[row]), values.qIndex);
    setRedrawPending();
}

void CChannelPanel::applyShelfRange(int row) {
    const SpinRange range = eqSpinRange(row, shelving(row));
    spin(IdEqFrequencySpin[row])->setRange(range.lo, range.hi);
}

void CChannelPanel::fillEq5QList() {
    fillShelfRowQList(LowShelfRow);
}
void CChannelPanel::fillEq6QList() {
    fillShelfRowQList(HighShelfRow);
}

void CChannelPanel::fillShelfRowQList(int row) {
    fillList(list(IdEqQ[row]), eqQItems(row, shelving(row)));
    writeControls();
    setRedrawPending();
}

int CChannelPanel::showInList(int id, int index, int field, int value) {
    QComboBox* l = list(id);
    selectIndex(l, -1);  // the list's own items only
    if (index >= 0 && index < l->count()) {
        selectIndex(l, index);
        return index;
    }
    return showUnlisted(
        l, QString::fromStdString(unlistedItemText(field, value)),
        QString::fromStdString(channelFieldText(field, value)) + QString::fromUtf8(UnlistedTip));
}

void CChannelPanel::refreshFromImage() {
    if (!m_bBound || m_pImage == nullptr) {
        return;
    }
    const ChannelRecord r = m_pImage->record(activePreset(), m_nChannel);
    // 1. The members that the edits, the type lists and the shelf boxes show.
    m_nDelay = r.delayTaps;
    m_nHpFrequency = r.hpFrequency;
    m_nLpFrequency = r.lpFrequency;
    m_strInput = toQString(inputText(r.input));
    m_nLpType = r.lpType;
    m_nHpType = r.hpType;
    for (int e = 0; e < EqBandCount; ++e) {
        m_anEqFrequency[e] = r.eq[e].frequency;
    }
    m_nLowShelf = isShelvingQCode(LowShelfRow, r.eq[LowShelfRow].q) ? 1 : 0;
    m_nHighShelf = isShelvingQCode(HighShelfRow, r.eq[HighShelfRow].q) ? 1 : 0;
    // 2. Push them; none of the notifications this causes is handled.
    writeControls();
    m_nHpType = showInList(IdHpType, r.hpType, static_cast<int>(ChannelField::hpType), r.hpType);
    m_nLpType = showInList(IdLpType, r.lpType, static_cast<int>(ChannelField::lpType), r.lpType);
    // A shelf switched by the image gets the frequency range of its mode, as
    // when the user switches it.
    applyShelfRange(LowShelfRow);
    applyShelfRange(HighShelfRow);
    // 3. Channel level. Each list's member follows its selection, so that
    // the pushes of the later steps keep it.
    m_nLevel = showInList(IdLevel, dbToLevelIndex(r.level), static_cast<int>(ChannelField::level),
                          r.level);
    // 4. The Q lists of EQ5 and EQ6 for their mode.
    fillEq5QList();
    fillEq6QList();
    // 5. and 6. Gains and Q of all six bands.
    for (int e = 0; e < EqBandCount; ++e) {
        m_anEqLevel[e] = showInList(IdEqLevel[e], dbToEqLevelIndex(r.eq[e].level), eqLevelField(e),
                                    r.eq[e].level);
        m_anEqQ[e] =
            showInList(IdEqQ[e], qCodeToIndex(r.eq[e].q, shelving(e)), eqQField(e), r.eq[e].q);
    }
    // 7. The delay text (writes `delayTaps` back unchanged).
    updateDelayText();
}
