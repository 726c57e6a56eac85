#include "archive_member_dialog.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace marrowick {

// The members in view, by name and size. Archives hold thousands: one model
// that filters and sorts its own rows keeps filling and each keystroke quick.
class MemberTable final : public QAbstractTableModel {
  public:
    MemberTable(const QList<ArchiveMemberChoice>& members, QObject* parent)
        : QAbstractTableModel(parent), members_(members) {
        SetFilter({});
    }

    int Total() const { return static_cast<int>(members_.size()); }
    int MemberAt(int row) const { return shown_.value(row, -1); }

    // Keeps the members whose name holds `text` in any letter case.
    void SetFilter(const QString& text) {
        beginResetModel();
        shown_.clear();
        for (int i = 0; i < Total(); ++i) {
            if (members_[i].name.contains(text, Qt::CaseInsensitive)) {
                shown_.append(i);
            }
        }
        Order();
        endResetModel();
    }

    // By name (in any letter case) or size; -1, as before any header is
    // clicked, keeps the archive's order. The rows selected stay selected.
    void sort(int column, Qt::SortOrder order) override {
        column_ = column;
        order_ = order;
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        QList<int> members;
        for (const QModelIndex& index : before) {
            members << MemberAt(index.row());
        }
        Order();
        QModelIndexList after;
        for (qsizetype i = 0; i < before.size(); ++i) {
            after << index(static_cast<int>(shown_.indexOf(members[i])), before[i].column());
        }
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(shown_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (MemberAt(index.row()) < 0) {
            return {};
        }
        const ArchiveMemberChoice& member = members_[MemberAt(index.row())];
        const bool isName = index.column() == 0;
        if (role == Qt::DisplayRole) {
            return isName ? member.name : QLocale().toString(member.size);
        }
        if (role == Qt::TextAlignmentRole && !isName) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            return section == 0 ? ArchiveMemberDialog::tr("Name")
                                : ArchiveMemberDialog::tr("Size (bytes)");
        }
        if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section == 1) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

  private:
    void Order() {
        std::sort(shown_.begin(), shown_.end());  // equal names or sizes in the archive's order
        const auto key = [this](int a, int b) {
            return column_ == 0
                       ? members_[a].name.compare(members_[b].name, Qt::CaseInsensitive) < 0
                       : members_[a].size < members_[b].size;
        };
        if (column_ == 0 || column_ == 1) {
            std::stable_sort(shown_.begin(), shown_.end(), [&key, this](int a, int b) {
                return order_ == Qt::AscendingOrder ? key(a, b) : key(b, a);
            });
        }
    }

    QList<ArchiveMemberChoice> members_;
    QList<int> shown_;  // indices into members_
    int column_ = -1;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};

ArchiveMemberDialog::ArchiveMemberDialog(const QString& archiveName,
                                         const QList<ArchiveMemberChoice>& members, QWidget* parent)
    : QDialog(parent), table_(new MemberTable(members, this)) {
    setWindowTitle(tr("Open an Object File in %1").arg(archiveName));

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("Filter"));
    filter_->setPlaceholderText(tr("Part of a name"));
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    auto* filterLabel = new QLabel(tr("&Filter:"), this);
    filterLabel->setBuddy(filter_);

    view_ = new QTreeView(this);
    view_->setObjectName(QStringLiteral("Members"));
    view_->setModel(table_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);  // rows are never measured one by one
    view_->setAllColumnsShowFocus(true);
    view_->setAlternatingRowColors(true);
    view_->setTextElideMode(Qt::ElideMiddle);  // a long folder keeps the file's name in view
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->header()->setSortIndicator(-1, Qt::AscendingOrder);  // the archive's order at first
    view_->setSortingEnabled(true);
    // Sized from the largest member, not by measuring every row.
    std::uint64_t largest = 0;
    for (const ArchiveMemberChoice& member : members) {
        largest = std::max(largest, member.size);
    }
    QHeaderView* header = view_->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    const QFontMetrics metrics = view_->fontMetrics();
    header->resizeSection(
        1, std::max(metrics.horizontalAdvance(QLocale().toString(largest)),
                    header->fontMetrics().horizontalAdvance(
                        table_->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString())) +
               metrics.averageCharWidth() * 4);

    count_ = new QLabel(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);  // Enter in the filter opens the entry selected

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(count_, 1);
    buttonRow->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(view_);
    layout->addLayout(buttonRow);
    resize(560, 440);

    connect(filter_, &QLineEdit::textChanged, this, &ArchiveMemberDialog::ApplyFilter);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ArchiveMemberDialog::ShowChoice);
    connect(view_, &QTreeView::doubleClicked, this, &ArchiveMemberDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &ArchiveMemberDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ArchiveMemberDialog::reject);
    ApplyFilter({});
    filter_->setFocus();
}

int ArchiveMemberDialog::ChosenMember() const {
    return table_->MemberAt(view_->currentIndex().row());
}

void ArchiveMemberDialog::ApplyFilter(const QString& text) {
    table_->SetFilter(text);
    const int shown = table_->rowCount({});
    // The first match is selected, so that typing then Enter opens it.
    view_->setCurrentIndex(table_->index(0, 0));
    const QLocale locale;
    const int total = table_->Total();
    count_->setText(
        shown < total
            ? tr("%1 of %2 object files").arg(locale.toString(shown), locale.toString(total))
        : total == 1 ? tr("1 object file")
                     : tr("%1 object files").arg(locale.toString(total)));
    ShowChoice();
}

void ArchiveMemberDialog::ShowChoice() {
    ok_->setEnabled(ChosenMember() >= 0);
}

bool ArchiveMemberDialog::eventFilter(QObject* watched, QEvent* event) {
    // The arrow and page keys move through the list while typing in the filter.
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QCoreApplication::sendEvent(view_, event);
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace marrowick
