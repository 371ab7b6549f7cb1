#include "ui/pattern_details.h"

#include <QFormLayout>
#include <QLabel>

#include "patterns/apgcode.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/pattern_types.h"
#include "patterns/pattern_universe.h"
#include "rules/rule_notation.h"

namespace tessera::ui {

CPatternDetails::CPatternDetails(QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    const auto row = [&](const char* label) {
        auto* value = new QLabel(this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromUtf8(label), value);
        return value;
    };
    library_ = row("Library:");
    type_ = row("Type:");
    period_ = row("Period:");
    speed_ = row("Speed:");
    population_ = row("Population:");
    rule_ = row("Rule:");
    apgcode_ = row("Apgcode:");
    // The apgcode is there to be copied into other programs and web searches.
    apgcode_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    apgcode_->setFocusPolicy(Qt::StrongFocus);
}

void CPatternDetails::Show(CNamedPattern* entry) {
    if (!entry) {
        for (QLabel* label : {library_, type_, period_, speed_, population_, rule_, apgcode_}) label->clear();
        return;
    }
    CPattern& pattern = entry->Pattern();
    const EPatternType type = pattern.GetType();
    library_->setText(entry->Library() ? QString::fromStdString(entry->Library()->Description()) : QString());
    type_->setText(
        QString::fromUtf8(PatternTypeLabel(type).data(), qsizetype(PatternTypeLabel(type).size())));
    period_->setText(QString::number(pattern.Period()));
    speed_->setText(QStringLiteral("%1, %2").arg(pattern.Velocity().cx).arg(pattern.Velocity().cy));
    population_->setText(QString::number(pattern.Base().Population()));
    rule_->setText(QString::fromStdString(FormatRule(pattern.Base().GetRuleCode())));
    apgcode_->setText(QString::fromStdString(PatternApgCode(pattern)));
}

QString CPatternDetails::Text() const {
    QStringList lines;
    for (const QLabel* label : {library_, type_, period_, speed_, population_, rule_, apgcode_})
        lines << label->text();
    return lines.join(QLatin1Char('\n'));
}

}  // namespace tessera::ui
