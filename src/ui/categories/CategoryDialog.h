#pragma once
// "Edit Category": asks for one category name. Any text is accepted, the
// empty text included, and nothing limits its length.

#include <QDialog>
#include <QString>

class QLineEdit;

namespace orv {

class CategoryDialog : public QDialog {
    Q_OBJECT
public:
    // Opens with `name` in the edit field, centred on `owner` when there is one.
    CategoryDialog(const QString& name, QWidget* owner);

    // The text of the edit field as it is now.
    QString Name() const;
    QLineEdit* NameEdit() const { return edit_; }

private:
    QLineEdit* edit_;
};

}  // namespace orv
