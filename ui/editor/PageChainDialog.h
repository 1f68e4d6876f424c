#pragma once

#include "Handsets.h"
#include "PageChain.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace quillet {

// The pages of a chain as a list, a row a page. What a row tells is worked
// out when the row is first shown: a long body makes thousands.
class PageChainModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { FileName, FirstWords, BodyBytes, PageBytes, Oldest, Lost, ColumnCount };

    void setChain(const PageChain* chain);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const ChainPageSummary& summary(int row) const;

    const PageChain* chain_ = nullptr;
    mutable std::vector<std::optional<ChainPageSummary>> summaries_;
};

// Shows, before anything is written, how the body will be cut into pages:
// under which limit, with which titles, as which files.
class PageChainDialog final : public QDialog {
    Q_OBJECT

public:
    // `request` is the window's fields; `series` is the chosen handsets,
    // whose page limit is the other choice of limit.
    PageChainDialog(ChainRequest request, Series series, QWidget* parent = nullptr);

    // The chain the dialog's choices make.
    const PageChain& chain() const { return chain_; }

private:
    void replan();

    ChainRequest request_;
    Series series_;
    PageChain chain_;
    PageChainModel model_;

    QRadioButton* bodyLimit_ = nullptr;  // "本文 2,000 バイトまで", the help's rule
    QRadioButton* pageLimit_ = nullptr;  // the chosen handsets' limit for the whole page
    QLabel* summary_ = nullptr;          // how many pages, or why the body cannot be cut
    QTreeView* pages_ = nullptr;         // the pages, a row each
    QCheckBox* numbered_ = nullptr;      // "タイトルにページ番号を付ける"
    QPushButton* create_ = nullptr;      // "作成", the default
};

}  // namespace quillet
