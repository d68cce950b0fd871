#include "ui/categories/CategoryDialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include <limits>

namespace orv {

CategoryDialog::CategoryDialog(const QString& name, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("dialog419"));
    setWindowTitle(QStringLiteral("Edit Category"));

    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("control1305"));
    // A category name has no length limit of its own; QLineEdit's default
    // would silently cut long names.
    edit_->setMaxLength(std::numeric_limits<int>::max());
    edit_->setText(name);
    edit_->selectAll();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(buttons);

    edit_->setFocus();
    if (owner) {
        adjustSize();
        move(owner->window()->frameGeometry().center() - rect().center());
    }
}

QString CategoryDialog::Name() const { return edit_->text(); }

}  // namespace orv
