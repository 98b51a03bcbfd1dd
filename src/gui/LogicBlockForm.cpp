#include "LogicBlockForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"

namespace cfg::gui {

namespace {

// Words that the local loop ends on besides the block buttons 1..7.
constexpr int kCancelWord = 101;  // Cancel of the settings or the condition panel
constexpr int kOkWord = 102;      // OK of the settings or the condition panel

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& caption, bool keep = false) {
    auto* l = new QLabel(caption, parent);
    SetControlName(l, name);
    if (keep) KeepCaption(l);
    return l;
}

QLabel* ValueLabel(QWidget* parent, const char* name) {
    QLabel* l = NamedLabel(parent, name, QString(), true);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(110);
    return l;
}

void Fill(QComboBox* box, const std::vector<std::string>& items, int current) {
    box->clear();
    for (const auto& i : items) box->addItem(Q(i));
    if (current >= 0 && current < box->count()) box->setCurrentIndex(current);
}

}  // namespace

LogicBlockForm::LogicBlockForm(Translator& tr, QWidget* parent) : QDialog(parent), tr_(tr) {
    SetUpDialog(this, "FRMBFunz");
    setWindowTitle(QStringLiteral("Blocco funzionale"));

    auto* title = NamedLabel(this, "LBLTitolo", QStringLiteral("CONDIZIONI DI ATTIVAZIONE BLOCCO FUNZIONALE"));
    SetHeadingFont(title, 1);
    name_ = NamedLabel(this, "LBLBf1", QStringLiteral(" BF01"), true);
    SetHeadingFont(name_, 6);
    state_ = NamedLabel(this, "LBLStatoBf", QStringLiteral("BF80"), true);

    and_ = new QListWidget(this);
    SetControlName(and_, "LSTAndBf");
    or_ = new QListWidget(this);
    SetControlName(or_, "LSTOrBf");
    for (QListWidget* l : {and_, or_}) {
        l->setFont(FixedFont(9));
        l->setMinimumSize(430, 130);
    }
    // A click in one list takes the selection away from the other.
    connect(and_, &QListWidget::itemClicked, this, [this] {
        listCode_ = 2;
        or_->clearSelection();
        or_->setCurrentRow(-1);
    });
    connect(or_, &QListWidget::itemClicked, this, [this] {
        listCode_ = 1;
        and_->clearSelection();
        and_->setCurrentRow(-1);
    });

    threshold_ = ValueLabel(this, "LBLVsoglia");
    output_ = ValueLabel(this, "LBLVuscita");
    activation_ = ValueLabel(this, "LBLVritatt");
    deactivation_ = ValueLabel(this, "LBLVritdis");
    auto* values = new QGridLayout;
    values->addWidget(NamedLabel(this, "LBLSogliaProg", QStringLiteral("Soglia di AND programmata:")), 0, 0);
    values->addWidget(threshold_, 0, 1);
    values->addWidget(NamedLabel(this, "LBLUscita", QStringLiteral("Uscita associata")), 1, 0);
    values->addWidget(output_, 1, 1);
    values->addWidget(NamedLabel(this, "LBLRitAtt", QStringLiteral("Ritardo attivaz.")), 2, 0);
    values->addWidget(activation_, 2, 1);
    values->addWidget(NamedLabel(this, "LBLRitDis", QStringLiteral("Ritardo disattivaz.")), 3, 0);
    values->addWidget(deactivation_, 3, 1);
    
    sentence_ = NamedLabel(this, "LBLFrase", QString(), true);
    sentence_->setWordWrap(true);
    sentence_->setFrameShape(QFrame::StyledPanel);
    sentence_->setMargin(6);
    sentence_->setMinimumHeight(56);
    sentence_->setStyleSheet(QStringLiteral("background: #fffbe6;"));
    fields_ = NamedLabel(this, "LBLCampi", QString(), true);
    fields_->setFont(FixedFont(9));
    fields_->setWordWrap(true);
    fields_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // --- the button frame ---------------------------------------------------
    commandFrame_ = new QGroupBox(QStringLiteral("Aggiunge/modifica:"), this);
    SetControlName(commandFrame_, "FRAComBf");
    static const char* kCaptions[8] = {"",
                                       "Condizione di  OR",
                                       "Condizione di  AND",
                                       "Imposta blocco funz.",
                                       "Copia  blocco funz.",
                                       "Elimina condizione",
                                       "ELIMINA  blocco f.",
                                       "  &Chiudi"};
    auto* commandBox = new QGridLayout(commandFrame_);
    for (int i = 1; i <= 7; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(kCaptions[i]), commandFrame_);
        SetControlName(b, "CMDBf", i);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { Finish(i); });
        commands_[static_cast<std::size_t>(i)] = b;
        commandBox->addWidget(b, (i - 1) / 4, (i - 1) % 4);
    }

    // --- the condition frame ------------------------------------------------
    conditionFrame_ = new QGroupBox(this);
    SetControlName(conditionFrame_, "FRASelCon");
    auto* choice = new QGroupBox(QStringLiteral("Selezionare la logica di controllo:"), conditionFrame_);
    SetControlName(choice, "FRACondizione");
    categories_ = new QListWidget(choice);
    SetControlName(categories_, "LSTCondizioni");
    categories_->setMinimumSize(300, 300);
    conditionOptions_[1] = new QRadioButton(QStringLiteral("Se attiva"), choice);
    conditionOptions_[2] = new QRadioButton(QStringLiteral("Se NON attiva"), choice);
    SetControlName(conditionOptions_[1], "OPTCondizione", 1);
    SetControlName(conditionOptions_[2], "OPTCondizione", 2);
    auto* choiceBox = new QVBoxLayout(choice);
    choiceBox->addWidget(categories_);
    choiceBox->addWidget(conditionOptions_[1]);
    choiceBox->addWidget(conditionOptions_[2]);
    conditionPrompt_ = NamedLabel(conditionFrame_, "LBLSelCond", QStringLiteral("Selezionare la condizione di OR da aggiungere:"), true);
    SetHeadingFont(conditionPrompt_, 0);
    auto* okC = NewButton(conditionFrame_, "CMDOkC", QStringLiteral("OK"), true);
    auto* abortC = NewButton(conditionFrame_, "CMDAbrC", QStringLiteral("Annulla"));
    connect(okC, &QPushButton::clicked, this, [this] { Finish(kOkWord); });
    connect(abortC, &QPushButton::clicked, this, [this] { Finish(kCancelWord); });
    connect(categories_, &QListWidget::itemDoubleClicked, this, [this] { Finish(kOkWord); });
    auto* conditionButtons = new QHBoxLayout;
    conditionButtons->addStretch(1);
    conditionButtons->addWidget(okC);
    conditionButtons->addWidget(abortC);
    auto* conditionBox = new QVBoxLayout(conditionFrame_);
    conditionBox->addWidget(conditionPrompt_);
    conditionBox->addWidget(choice);
    conditionBox->addLayout(conditionButtons);

    // --- the settings frame -----------------------------------------------------
    settingsFrame_ = new QGroupBox(this);
    SetControlName(settingsFrame_, "FRAImpTip");
    outputs_ = new QComboBox(settingsFrame_);
    SetControlName(outputs_, "CMBUscita");
    activations_ = new QComboBox(settingsFrame_);
    SetControlName(activations_, "CMBRita");
    auto* deactivationFrame = new QGroupBox(QStringLiteral("Ritardo di disattivazione:"), settingsFrame_);
    SetControlName(deactivationFrame, "FRARitd");
    static const char* kDeactivation[3] = {"Ritardo", "Impulso", "Memorizza"};
    auto* deactivationBox = new QGridLayout(deactivationFrame);
    for (int i = 2; i >= 0; --i) {
        auto* o = new QRadioButton(QString::fromUtf8(kDeactivation[i]), deactivationFrame);
        SetControlName(o, "OPTRitd", i);
        deactivationOptions_[static_cast<std::size_t>(i)] = o;
        deactivationBox->addWidget(o, 2 - i, 0);
        connect(o, &QRadioButton::toggled, this, [this] {
            bool delay = deactivationOptions_[0]->isChecked();
            durations_->setVisible(delay);
            durationLabel_->setVisible(delay);
        });
    }
    durationLabel_ = NamedLabel(deactivationFrame, "LBLRitd", QStringLiteral("Durata ritardo . . ."));
    durations_ = new QComboBox(deactivationFrame);
    SetControlName(durations_, "CMBRitd");
    deactivationBox->addWidget(durationLabel_, 3, 0);
    deactivationBox->addWidget(durations_, 3, 1);

    auto* typeFrame = new QGroupBox(QStringLiteral(" Tipo blocco funzionale:"), settingsFrame_);
    SetControlName(typeFrame, "FRATipo");
    typeOptions_[1] = new QRadioButton(QStringLiteral("AND a soglia"), typeFrame);
    typeOptions_[0] = new QRadioButton(QStringLiteral("AND/OR logico"), typeFrame);
    SetControlName(typeOptions_[1], "OPTTipo", 1);
    SetControlName(typeOptions_[0], "OPTTipo", 0);
    thresholdLabel_ = NamedLabel(typeFrame, "LBLSoglia",
                                 QStringLiteral("Soglia di AND (numero minimo di AND verificati perche' si attivi l'uscita )"));
    thresholdLabel_->setWordWrap(true);
    thresholds_ = new QComboBox(typeFrame);
    SetControlName(thresholds_, "CMBSoglia");
    connect(typeOptions_[1], &QRadioButton::toggled, this, [this](bool on) {
        thresholdLabel_->setVisible(on);
        thresholds_->setVisible(on);
    });
    auto* typeBox = new QGridLayout(typeFrame);
    typeBox->addWidget(typeOptions_[0], 0, 0);
    typeBox->addWidget(typeOptions_[1], 1, 0);
    typeBox->addWidget(thresholdLabel_, 2, 0);
    typeBox->addWidget(thresholds_, 2, 1);

    auto* okB = NewButton(settingsFrame_, "CMDOkb", QStringLiteral("OK"), true);
    auto* abortB = NewButton(settingsFrame_, "CMDAbrb", QStringLiteral("Annulla"));
    connect(okB, &QPushButton::clicked, this, [this] { Finish(kOkWord); });
    connect(abortB, &QPushButton::clicked, this, [this] { Finish(kCancelWord); });
    auto* settingsGrid = new QGridLayout(settingsFrame_);
    settingsGrid->addWidget(typeFrame, 0, 0, 2, 1);
    settingsGrid->addWidget(NamedLabel(settingsFrame_, "LBLUscitaImp", QStringLiteral("Uscita associata")), 0, 1);
    settingsGrid->addWidget(outputs_, 0, 2);
    settingsGrid->addWidget(NamedLabel(settingsFrame_, "LBLRitaImp", QStringLiteral("Ritardo attivaz.")), 1, 1);
    settingsGrid->addWidget(activations_, 1, 2);
    settingsGrid->addWidget(deactivationFrame, 2, 0, 1, 3);
    auto* settingsButtons = new QHBoxLayout;
    settingsButtons->addStretch(1);
    settingsButtons->addWidget(okB);
    settingsButtons->addWidget(abortB);
    settingsGrid->addLayout(settingsButtons, 3, 0, 1, 3);

    // --- layout ------------------------------------------------------------------
    auto* head = new QHBoxLayout;
    head->addWidget(title, 1);
    head->addWidget(name_);
    auto* lists = new QGridLayout;
    lists->addWidget(NamedLabel(this, "LBLCondAnd", QStringLiteral("Condizioni di AND")), 0, 0);
    lists->addWidget(and_, 1, 0);
    lists->addWidget(NamedLabel(this, "LBLCondOr", QStringLiteral("Condizioni di OR")), 2, 0);
    lists->addWidget(or_, 3, 0);
    // The condition and settings frames ask in the right column, under the
    // block's values, so that the window keeps its size.
    auto* side = new QVBoxLayout;
    side->addLayout(values);
    side->addWidget(conditionFrame_);
    side->addWidget(settingsFrame_);
    side->addStretch(1);
    lists->addLayout(side, 1, 1, 3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(lists);
    layout->addWidget(sentence_);
    layout->addWidget(fields_);
    layout->addWidget(commandFrame_);
    layout->addWidget(state_);
    state_->hide();
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ShowFrame(commandFrame_);

    tr_.TranslateForm(this);
}

void LogicBlockForm::ShowFrame(QWidget* frame) {
    for (QWidget* f : {static_cast<QWidget*>(commandFrame_), static_cast<QWidget*>(conditionFrame_),
                       static_cast<QWidget*>(settingsFrame_)})
        f->setVisible(f == frame);
    and_->setEnabled(frame == commandFrame_);
    or_->setEnabled(frame == commandFrame_);
}

void LogicBlockForm::ShowView(const LogicBlockView& v) {
    name_->setText(Q(v.blockName));
    state_->setText(Q(v.blockName));
    and_->clear();
    or_->clear();
    for (const auto& l : v.andLines) and_->addItem(Q(l));
    for (const auto& l : v.orLines) or_->addItem(Q(l));
    listCode_ = 0;
    threshold_->setText(Q(v.threshold));
    output_->setText(Q(v.output));
    activation_->setText(Q(v.activationDelay));
    deactivation_->setText(Q(v.deactivation));
    sentence_->setText(Q(v.sentence));
    fields_->setText(Q(v.fields));
    ShowFrame(commandFrame_);
    if (!isVisible()) show();
    raise();
    activateWindow();
}

int LogicBlockForm::Wait() {
    word_ = 0;
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
    return word_;
}

void LogicBlockForm::Finish(int word) {
    word_ = word;
    if (loop_) loop_->quit();
}

void LogicBlockForm::closeEvent(QCloseEvent* e) {
    // Closing from the frame is the close button, or the cancel of a frame.
    e->ignore();
    Finish(conditionFrame_->isVisible() || settingsFrame_->isVisible() ? kCancelWord : 7);
}

void LogicBlockForm::reject() {
    Finish(conditionFrame_->isVisible() || settingsFrame_->isVisible() ? kCancelWord : 7);
}

LogicCommand LogicBlockForm::WaitCommand() {
    ShowFrame(commandFrame_);
    LogicCommand c;
    int word = Wait();
    c.word = word >= 1 && word <= 7 ? word : 7;
    c.listCode = listCode_;
    QListWidget* list = listCode_ == 2 ? and_ : listCode_ == 1 ? or_ : nullptr;
    c.index = list ? list->currentRow() : -1;
    if (c.index < 0) c.listCode = 0;
    return c;
}

LogicSettingsAnswer LogicBlockForm::AskSettings(const LogicSettingsRequest& r) {
    Fill(outputs_, r.outputEntries, r.output);
    Fill(activations_, r.activationEntries, r.activation);
    Fill(durations_, r.durationEntries, r.duration);
    Fill(thresholds_, r.thresholdEntries, r.threshold);
    typeOptions_[r.type == 1 ? 1 : 0]->setChecked(true);
    thresholdLabel_->setVisible(r.type == 1);
    thresholds_->setVisible(r.type == 1);
    int d = r.deactivationOption >= 0 && r.deactivationOption <= 2 ? r.deactivationOption : 2;
    deactivationOptions_[static_cast<std::size_t>(d)]->setChecked(true);
    durations_->setVisible(d == 0);
    durationLabel_->setVisible(d == 0);
    ShowFrame(settingsFrame_);
    LogicSettingsAnswer a;
    a.confirmed = Wait() == kOkWord;
    a.type = typeOptions_[1]->isChecked() ? 1 : 0;
    a.threshold = thresholds_->currentIndex();
    a.output = outputs_->currentIndex();
    a.activation = activations_->currentIndex();
    for (int i = 0; i <= 2; ++i)
        if (deactivationOptions_[static_cast<std::size_t>(i)]->isChecked()) a.deactivationOption = i;
    a.duration = durations_->currentIndex();
    ShowFrame(commandFrame_);
    return a;
}

LogicConditionAnswer LogicBlockForm::AskCondition(const LogicConditionRequest& r) {
    conditionPrompt_->setText(Q(r.prompt));
    int keep = categories_->currentRow();
    categories_->clear();
    for (const auto& c : r.categories) categories_->addItem(Q(c));
    if (keep >= 0 && keep < categories_->count()) categories_->setCurrentRow(keep);
    if (!conditionOptions_[1]->isChecked() && !conditionOptions_[2]->isChecked()) conditionOptions_[1]->setChecked(true);
    ShowFrame(conditionFrame_);
    categories_->setFocus();
    LogicConditionAnswer a;
    a.confirmed = Wait() == kOkWord;
    a.entry = categories_->currentRow() + 1;
    a.option = conditionOptions_[2]->isChecked() ? 2 : 1;
    ShowFrame(commandFrame_);
    return a;
}

}  // namespace cfg::gui
