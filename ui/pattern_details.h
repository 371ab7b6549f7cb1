#pragma once
// The properties of a named pattern as the dialogs show them beside a list or table: library, type,
// period, speed, population, rule, and the apgcode in a label the user can select and copy.
#include <QWidget>

class QLabel;

namespace tessera {
class CNamedPattern;
}

namespace tessera::ui {

class CPatternDetails : public QWidget {
    Q_OBJECT
public:
    explicit CPatternDetails(QWidget* parent = nullptr);
    // Shows the pattern's properties, or blanks them for none.
    void Show(CNamedPattern* entry);
    QLabel* ApgCodeLabel() const { return apgcode_; }
    QString Text() const;

private:
    QLabel* library_;
    QLabel* type_;
    QLabel* period_;
    QLabel* speed_;
    QLabel* population_;
    QLabel* rule_;
    QLabel* apgcode_;
};

}  // namespace tessera::ui
