#include "ui/options_sheet.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "formats/xl_collection.h"
#include "formats/xl_import.h"
#include "rules/rule_notation.h"
#include "rules/rule_registry.h"
#include "rules/rules.h"
#include "text/lex.h"
#include "ui/dialog_help.h"
#include "ui/file_types.h"
#include "ui/log_slider.h"
#include "ui/message_sink.h"
#include "ui/rules_dialog.h"

namespace tessera::ui {

// ---- The controls, one kind per descriptor kind

class COptionControl {
public:
    explicit COptionControl(const COptionDescriptor& option) : option(option) {}
    virtual ~COptionControl() = default;
    virtual QWidget* Widget() const = 0;
    virtual void Load() = 0;
    virtual void Store() const = 0;
    // The value the control shows now (integer kinds).
    virtual int64_t CurrentValue() const { return 0; }
    virtual QColor CurrentColour() const { return {}; }

    const COptionDescriptor& option;
    std::function<void()> changed;  // runs the preview
};

namespace {

const char kTitle[] = "Tessera Options";
const char kDefaultsQuestion[] = "Restore all options to default settings?";
const char kDemonstration[] = "#P -5 -1\n#R 23/3\n..*....*..\n**.****.**\n..*....*..\n";
const char* const kPageNames[] = {"&General", "&View", "&File"};
const char* const kPageSections[] = {"general", "view", "file"};  // of the help page
constexpr int kTimerMillisecondsPerSecond = 1000;

QString Label(const char* text) { return QString::fromUtf8(text); }

class CBoolControl : public COptionControl {
public:
    explicit CBoolControl(const COptionDescriptor& option) : COptionControl(option) {
        box_ = new QCheckBox(Label(option.label));
        QObject::connect(box_, &QCheckBox::clicked, [this] {
            if (changed) changed();
        });
    }
    QWidget* Widget() const override { return box_; }
    void Load() override { box_->setChecked(OptionValue(option) != 0); }
    void Store() const override { StoreOption(option, int64_t(box_->isChecked() ? 1 : 0)); }
    int64_t CurrentValue() const override { return box_->isChecked() ? 1 : 0; }

private:
    QCheckBox* box_;
};

class CStringControl : public COptionControl {
public:
    explicit CStringControl(const COptionDescriptor& option) : COptionControl(option) {
        edit_ = new QLineEdit;
        edit_->setMaxLength(int(CParam::kMaxTextLength) - 1);
    }
    QWidget* Widget() const override { return edit_; }
    void Load() override { edit_->setText(QString::fromStdString(option.param->GetText())); }
    void Store() const override { StoreOption(option, edit_->text().toStdString()); }

private:
    QLineEdit* edit_;
};

class CColourControl : public COptionControl {
public:
    explicit CColourControl(const COptionDescriptor& option) : COptionControl(option) {
        box_ = new QWidget;
        swatch_ = new QLabel(box_);
        swatch_->setFixedSize(32, 16);
        swatch_->setFrameShape(QFrame::Box);
        swatch_->setAutoFillBackground(true);
        auto* change = new QPushButton(QStringLiteral("Change..."), box_);
        auto* layout = new QHBoxLayout(box_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(swatch_);
        layout->addWidget(change);
        layout->addStretch();
        QObject::connect(change, &QPushButton::clicked, [this] {
            const QColor chosen = QColorDialog::getColor(colour_, box_);
            if (chosen.isValid()) SetColour(chosen);
        });
    }
    QWidget* Widget() const override { return box_; }
    void Load() override {
        const uint32_t c = static_cast<CParamColor*>(option.param)->GetColor();
        ShowColour(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    }
    void Store() const override {
        StoreOption(option, QStringLiteral("%1 %2 %3")
                                .arg(colour_.red())
                                .arg(colour_.green())
                                .arg(colour_.blue())
                                .toStdString());
    }
    QColor CurrentColour() const override { return colour_; }
    // As the colour dialog's OK does.
    void SetColour(const QColor& colour) {
        ShowColour(colour);
        if (changed) changed();
    }

private:
    void ShowColour(const QColor& colour) {
        colour_ = colour;
        QPalette palette = swatch_->palette();
        palette.setColor(QPalette::Window, colour);
        swatch_->setPalette(palette);
    }

    QWidget* box_;
    QLabel* swatch_;
    QColor colour_;
};

class CSpinControl : public COptionControl {
public:
    explicit CSpinControl(const COptionDescriptor& option) : COptionControl(option) {
        spin_ = new QSpinBox;
        spin_->setRange(int(std::clamp<int64_t>(OptionMinimum(option), INT32_MIN, INT32_MAX)),
                        int(std::clamp<int64_t>(OptionMaximum(option), INT32_MIN, INT32_MAX)));
        QObject::connect(spin_, &QSpinBox::valueChanged, [this] {
            if (changed) changed();
        });
    }
    QWidget* Widget() const override { return spin_; }
    void Load() override { spin_->setValue(int(OptionValue(option))); }
    void Store() const override { StoreOption(option, int64_t(spin_->value())); }
    int64_t CurrentValue() const override { return spin_->value(); }

private:
    QSpinBox* spin_;
};

class CRadioControl : public COptionControl {
public:
    explicit CRadioControl(const COptionDescriptor& option) : COptionControl(option) {
        box_ = new QWidget;
        first_ = new QRadioButton(Label(option.label), box_);
        second_ = new QRadioButton(Label(option.secondLabel), box_);
        auto* layout = new QHBoxLayout(box_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(first_);
        layout->addWidget(second_);
        layout->addStretch();
        QObject::connect(second_, &QRadioButton::toggled, [this] {
            if (changed) changed();
        });
    }
    QWidget* Widget() const override { return box_; }
    void Load() override { (OptionValue(option) == 0 ? first_ : second_)->setChecked(true); }
    void Store() const override { StoreOption(option, int64_t(second_->isChecked() ? 1 : 0)); }
    int64_t CurrentValue() const override { return second_->isChecked() ? 1 : 0; }

private:
    QWidget* box_;
    QRadioButton* first_;
    QRadioButton* second_;
};

class CLogSliderControl : public COptionControl {
public:
    explicit CLogSliderControl(const COptionDescriptor& option) : COptionControl(option) {
        box_ = new QWidget;
        slider_ = new CLogSlider(box_);
        slider_->setOrientation(Qt::Horizontal);
        slider_->SetSpeedRange(uint32_t(OptionMinimum(option)), uint32_t(OptionMaximum(option)));
        label_ = new QLabel(box_);
        label_->setMinimumWidth(label_->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
        auto* layout = new QHBoxLayout(box_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(slider_, 1);
        layout->addWidget(label_);
        QObject::connect(slider_, &QSlider::valueChanged, [this] {
            value_ = slider_->Speed();
            label_->setNum(int(value_));
            if (changed) changed();
        });
    }
    QWidget* Widget() const override { return box_; }
    // The track has fewer positions than the range has values: an untouched slider keeps the value
    // exactly.
    void Load() override {
        const int64_t value = OptionValue(option);
        slider_->SetSpeed(uint32_t(value));
        value_ = value;
        label_->setNum(int(value));
    }
    void Store() const override { StoreOption(option, value_); }
    int64_t CurrentValue() const override { return value_; }

private:
    QWidget* box_;
    CLogSlider* slider_;
    QLabel* label_;
    int64_t value_ = 0;
};

std::unique_ptr<COptionControl> MakeControl(const COptionDescriptor& option) {
    switch (option.kind) {
        case EOptionKind::Bool:
            return std::make_unique<CBoolControl>(option);
        case EOptionKind::String:
            return std::make_unique<CStringControl>(option);
        case EOptionKind::Color:
            return std::make_unique<CColourControl>(option);
        case EOptionKind::Spin:
            return std::make_unique<CSpinControl>(option);
        case EOptionKind::Radio:
            return std::make_unique<CRadioControl>(option);
        case EOptionKind::LogSlider:
            return std::make_unique<CLogSliderControl>(option);
    }
    return nullptr;
}

// Check boxes and radio pairs carry their own labels; the others sit beside theirs.
bool LabelsItself(EOptionKind kind) { return kind == EOptionKind::Bool || kind == EOptionKind::Radio; }

}  // namespace

// ---- Preview

COptionsPreview::COptionsPreview(QWidget* parent) : QWidget(parent) {
    CLex lex{std::string_view(kDemonstration)};
    const auto read = ReadXLife(lex, "Preview", {});
    universe_ = std::make_unique<CGrowableUniverse>();
    for (int i = 1; read && i <= read->UniverseCount(); ++i)  // numbered from 1
        if (CUniverse* u = read->UniverseAt(i); u && u->Population() > 0) {
            universe_ = std::make_unique<CGrowableUniverse>(*u);
            break;
        }
    colours_ = CRenderColours::FromParameters();
    setMinimumSize(sizeHint());
    connect(&growTimer_, &QTimer::timeout, this, &COptionsPreview::Step);
    connect(&scrollTimer_, &QTimer::timeout, this, &COptionsPreview::Scroll);
}

COptionsPreview::~COptionsPreview() = default;

void COptionsPreview::SetPitch(int pitch, bool grid) {
    pitch_ = std::max(pitch, 1);
    grid_ = grid;
    update();
}

void COptionsPreview::SetColours(const CRenderColours& colours) {
    colours_ = colours;
    update();
}

void COptionsPreview::SetGrowSpeed(uint32_t generationsPerSecond) {
    if (generationsPerSecond == 0) return growTimer_.stop();
    growTimer_.start(std::max(1, kTimerMillisecondsPerSecond / int(generationsPerSecond)));
}

void COptionsPreview::SetScrollRate(uint32_t cellsPerSecond) {
    if (cellsPerSecond == 0) return scrollTimer_.stop();
    scrollTimer_.start(std::max(1, kTimerMillisecondsPerSecond / int(cellsPerSecond)));
}

void COptionsPreview::Step() {
    universe_ = universe_->Grow(nullptr);
    ++generation_;
    update();
}

void COptionsPreview::Scroll() {
    ++scrolled_;
    update();
}

void COptionsPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(colours_.background));
    const int gap = grid_ && pitch_ > 2 ? 1 : 0;
    // The pattern's origin sits at the centre, moved left by the scrolling.
    const int columns = width() / pitch_;
    const int originX = width() / 2 - ((scrolled_ % std::max(columns, 1)) * pitch_);
    const int originY = height() / 2;
    if (grid_ && pitch_ > 2) {
        painter.setPen(QColor(colours_.grid));
        for (int x = originX % pitch_; x < width(); x += pitch_) painter.drawLine(x, 0, x, height());
        for (int y = originY % pitch_; y < height(); y += pitch_) painter.drawLine(0, y, width(), y);
    }
    const CLRect bounds = universe_->GetBounds();
    for (int32_t y = bounds.top; y < bounds.bottom; ++y)
        for (int32_t x = bounds.left; x < bounds.right; ++x)
            if (universe_->IsAlive(x, y))
                painter.fillRect(originX + x * pitch_ + gap, originY + y * pitch_ + gap, pitch_ - gap,
                                 pitch_ - gap, QColor(colours_.alive));
}

// ---- Pages

COptionsPage::COptionsPage(EOptionPage page, QWidget* parent) : QWidget(parent), page_(page) {
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 1);
    std::map<std::string, QFormLayout*> groups;
    auto* loose = new QFormLayout;
    left->addLayout(loose);
    for (const COptionDescriptor& option : OptionDescriptors()) {
        if (option.page != page) continue;
        std::unique_ptr<COptionControl> control = MakeControl(option);
        QFormLayout* form = loose;
        if (*option.group) {
            QFormLayout*& groupForm = groups[option.group];
            if (!groupForm) {
                auto* box = new QGroupBox(Label(option.group), this);
                groupForm = new QFormLayout(box);
                left->addWidget(box);
            }
            form = groupForm;
        }
        if (LabelsItself(option.kind)) {
            form->addRow(control->Widget());
        } else {
            auto* label = new QLabel(Label(option.label), this);
            label->setBuddy(control->Widget());
            form->addRow(label, control->Widget());
        }
        COptionControl* raw = control.get();
        control->changed = [this, raw] { Changed(*raw); };
        controls_.push_back(std::move(control));
    }
    if (page == EOptionPage::General) {
        rules_ = new QComboBox(this);
        auto* newRule = new QPushButton(QStringLiteral("&New..."), this);
        connect(newRule, &QPushButton::clicked, this, &COptionsPage::DefineRule);
        auto* row = new QHBoxLayout;
        row->addWidget(rules_, 1);
        row->addWidget(newRule);
        auto* label = new QLabel(QStringLiteral("Default gro&wth rule:"), this);
        label->setBuddy(rules_);
        loose->addRow(label, row);
    }
    left->addStretch();
    if (page != EOptionPage::File) {
        auto* right = new QVBoxLayout;
        preview_ = new COptionsPreview(this);
        right->addWidget(new QLabel(QStringLiteral("Preview"), this));
        right->addWidget(preview_);
        right->addStretch();
        columns->addLayout(right);
    }
}

COptionsPage::~COptionsPage() = default;

void COptionsPage::LoadAll() {
    shown_ = true;
    // Loading is no change: the previews stay as they are (a slider inside a control's box would
    // otherwise start them).
    loading_ = true;
    for (const auto& control : controls_) control->Load();
    loading_ = false;
    if (rules_) FillRules(DefaultRuleCode());
    if (preview_) {
        preview_->SetColours(PreviewColours());
        preview_->SetPitch(params::GridPitch.GetInt(), true);
    }
    if (page_ == EOptionPage::View) emit coloursPreviewed(PreviewColours());
}

void COptionsPage::StoreAll() {
    for (const auto& control : controls_) control->Store();
    if (rules_ && rules_->currentIndex() >= 0) {
        const RuleCode code = RuleCode(rules_->currentData().toULongLong());
        if (code != DefaultRuleCode()) SetDefaultRule(code);
    }
}

void COptionsPage::RestoreAllDefaults() {
    for (const auto& control : controls_) RestoreOptionDefault(control->option);
    if (rules_) params::DefaultRule.Set(params::DefaultRule.DefaultText());
}

QWidget* COptionsPage::ControlOf(const CParam& param) const {
    for (const auto& control : controls_)
        if (control->option.param == &param) return control->Widget();
    if (rules_ && &param == &params::DefaultRule) return rules_;
    return nullptr;
}

void COptionsPage::DefineRule() {
    const RuleCode shown =
        rules_->currentIndex() >= 0 ? RuleCode(rules_->currentData().toULongLong()) : DefaultRuleCode();
    CRulesDialog dialog(shown, this);
    if (dialog.exec() == QDialog::Accepted) FillRules(dialog.Code());
}

void COptionsPage::FillRules(RuleCode chosen) {
    const QSignalBlocker quiet(rules_);
    rules_->clear();
    for (CRuleIterator rules(false, true); rules.Current(); rules.Next()) {
        const CRule& rule = *rules.Current();
        rules_->addItem(QString::fromStdString(DisplayName(rule)),
                        QVariant::fromValue(qulonglong(rule.Code())));
        if (rule.Code() == chosen) rules_->setCurrentIndex(rules_->count() - 1);
    }
    if (rules_->findData(QVariant::fromValue(qulonglong(chosen))) < 0) {
        rules_->addItem(QString::fromStdString(FormatRule(chosen)), QVariant::fromValue(qulonglong(chosen)));
        rules_->setCurrentIndex(rules_->count() - 1);
    }
}

CRenderColours COptionsPage::PreviewColours() const {
    CRenderColours colours = CRenderColours::FromParameters();
    for (const auto& control : controls_) {
        const CParam* param = control->option.param;
        if (param == &params::BackgroundColor)
            colours.background = control->CurrentValue() != 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        else if (param == &params::AliveColor)
            colours.alive = control->CurrentColour().rgb();
        else if (param == &params::BornColor)
            colours.born = control->CurrentColour().rgb();
        else if (param == &params::DiedColor)
            colours.died = control->CurrentColour().rgb();
        else if (param == &params::SelectedColor)
            colours.selected = control->CurrentColour().rgb();
        else if (param == &params::ForegroundColor)
            colours.floating = control->CurrentColour().rgb();
    }
    return colours;
}

void COptionsPage::Changed(const COptionControl& control) {
    if (!preview_ || loading_) return;
    switch (control.option.preview) {
        case EOptionPreview::Pitch:
            preview_->SetPitch(int(control.CurrentValue()), control.option.param == &params::GridPitch);
            break;
        case EOptionPreview::Speed:
            preview_->SetGrowSpeed(uint32_t(control.CurrentValue()));
            break;
        case EOptionPreview::Scroll:
            preview_->SetScrollRate(uint32_t(control.CurrentValue()));
            break;
        case EOptionPreview::None:
            preview_->SetColours(PreviewColours());
            if (page_ == EOptionPage::View) emit coloursPreviewed(PreviewColours());
            break;
    }
}

// ---- The sheet

COptionsSheet::COptionsSheet(int& lastPage, QWidget* parent) : QDialog(parent), lastPage_(lastPage) {
    setWindowTitle(Label(kTitle));
    tabs_ = new QTabWidget(this);
    for (EOptionPage page : {EOptionPage::General, EOptionPage::View, EOptionPage::File}) {
        pages_[int(page)] = new COptionsPage(page, tabs_);
        tabs_->addTab(pages_[int(page)], Label(kPageNames[int(page)]));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                             QDialogButtonBox::Apply | QDialogButtonBox::RestoreDefaults,
                                         this);
    AddHelpButton(*this, *buttons, [this] {
        return QStringLiteral("options.html#") + QLatin1String(kPageSections[tabs_->currentIndex()]);
    });
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("&Defaults"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &COptionsSheet::Apply);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &COptionsSheet::RestoreDefaults);
    connect(pages_[int(EOptionPage::View)], &COptionsPage::coloursPreviewed, this,
            &COptionsSheet::coloursPreviewed);
    // A page loads its controls when it is first shown.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && !pages_[index]->WasShown()) pages_[index]->LoadAll();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    const int start = lastPage_ >= 0 && lastPage_ < tabs_->count() ? lastPage_ : 0;
    if (start == 0) pages_[0]->LoadAll();  // the tab widget starts there without telling
    tabs_->setCurrentIndex(start);
}

void COptionsSheet::StoreShownPages() {
    for (COptionsPage* page : pages_)
        if (page->WasShown()) page->StoreAll();
}

void COptionsSheet::Apply() {
    const bool associated = params::RegisterFiles.GetInt() != 0;
    StoreShownPages();
    SaveAllParametersIfAuto();
    // The association with the file types follows its box when the box changed.
    const bool associate = params::RegisterFiles.GetInt() != 0;
    QString problem;
    if (associate != associated && !RegisterFileTypes(associate, &problem))
        ShowMessage(this, QMessageBox::Warning, problem);
    emit applied();
}

void COptionsSheet::accept() {
    lastPage_ = tabs_->currentIndex();
    Apply();
    QDialog::accept();
}

void COptionsSheet::RestoreDefaults() {
    QMessageBox ask(QMessageBox::Question, Label(kTitle), Label(kDefaultsQuestion),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (ask.exec() == QMessageBox::Yes)
        for (COptionsPage* page : pages_) page->RestoreAllDefaults();
    SaveAllParametersIfAuto();
    for (COptionsPage* page : pages_)
        if (page->WasShown()) page->LoadAll();
}

}  // namespace tessera::ui
