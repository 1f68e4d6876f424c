#include "PageChainDialog.h"

#include "PageSize.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

QString fileName(const ChainPage& page)
{
    return QFileInfo(page.path).fileName();
}

QString bytesText(qsizetype bytes)
{
    return groupedNumber(bytes) + u" バイト"_s;
}

}  // namespace

void PageChainModel::setChain(const PageChain* chain)
{
    beginResetModel();
    chain_ = chain;
    summaries_.assign(chain ? chain->pages.size() : 0, std::nullopt);
    endResetModel();
}

int PageChainModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !chain_ ? 0 : int(chain_->pages.size());
}

int PageChainModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const ChainPageSummary& PageChainModel::summary(int row) const
{
    std::optional<ChainPageSummary>& summary = summaries_[row];
    if (!summary)
        summary = summarizePage(chain_->pages[row]);
    return *summary;
}

QVariant PageChainModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole))
        return {};
    const bool number = index.column() == BodyBytes || index.column() == PageBytes;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(number ? Qt::AlignRight | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
    if (index.column() == FileName)
        return fileName(chain_->pages[index.row()]);
    const ChainPageSummary& page = summary(index.row());
    switch (Column(index.column())) {
    case FirstWords:
        return page.firstWords;
    case BodyBytes:
        return bytesText(page.bodyBytes);
    case PageBytes:
        return bytesText(page.pageBytes);
    case Oldest:
        return page.oldest ? seriesName(*page.oldest) + u" 以降"_s : u"なし"_s;
    case Lost:
        return page.lost > 0 ? u"「?」になる文字 "_s + groupedNumber(page.lost) : QString();
    case FileName:
    case ColumnCount:
        break;
    }
    return {};
}

QVariant PageChainModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QString titles[ColumnCount] = {u"ファイル名"_s, u"始まり"_s,         u"本文"_s,
                                                u"ページ全体"_s, u"表示できる端末"_s, u"注意"_s};
    return section >= 0 && section < ColumnCount ? titles[section] : QString();
}

PageChainDialog::PageChainDialog(ChainRequest request, Series series, QWidget* parent)
    : QDialog(parent), request_(std::move(request)), series_(series)
{
    setWindowTitle(u"ページに分けて作成"_s);
    auto* layout = new QVBoxLayout(this);  // owned by the dialog, as is all below

    auto* limits = new QGroupBox(u"1 ページの大きさ"_s, this);
    auto* limitsLayout = new QVBoxLayout(limits);
    bodyLimit_ = new QRadioButton(u"本文 2,000 バイトまで"_s, limits);
    pageLimit_ =
        new QRadioButton(seriesName(series) + u" のページ全体 "_s + pageLimitText(series), limits);
    bodyLimit_->setChecked(true);
    limitsLayout->addWidget(bodyLimit_);
    limitsLayout->addWidget(pageLimit_);
    layout->addWidget(limits);

    summary_ = new QLabel(this);
    summary_->setTextFormat(Qt::PlainText);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    pages_ = new QTreeView(this);
    pages_->setAccessibleName(u"ページの一覧"_s);
    pages_->setRootIsDecorated(false);
    pages_->setUniformRowHeights(true);
    pages_->setModel(&model_);
    // The first words take what room there is; the rest are as wide as
    // what they show.
    pages_->header()->setStretchLastSection(false);
    pages_->header()->setSectionResizeMode(PageChainModel::FirstWords, QHeaderView::Stretch);
    summary_->setBuddy(pages_);
    layout->addWidget(pages_, 1);

    numbered_ = new QCheckBox(u"タイトルにページ番号を付ける"_s, this);
    numbered_->setChecked(request_.numberTitles);
    layout->addWidget(numbered_);

    auto* buttons = new QDialogButtonBox(this);
    create_ = buttons->addButton(u"作成"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    create_->setDefault(true);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(pageLimit_, &QRadioButton::toggled, this, &PageChainDialog::replan);
    connect(numbered_, &QCheckBox::toggled, this, &PageChainDialog::replan);

    resize(640, 360);
    replan();
    bodyLimit_->setFocus();
}

void PageChainDialog::replan()
{
    request_.pageLimitOf = pageLimit_->isChecked() ? std::optional(series_) : std::nullopt;
    request_.numberTitles = numbered_->isChecked();
    QApplication::setOverrideCursor(Qt::WaitCursor);  // a long body takes a moment
    model_.setChain(nullptr);
    chain_ = planChain(request_);
    model_.setChain(&chain_);
    QApplication::restoreOverrideCursor();

    const qsizetype pages = chain_.pages.size();
    create_->setEnabled(pages > 0);
    if (pages == 0) {
        summary_->setText(chain_.refusal);
        return;
    }
    QString text = groupedNumber(pages) + u" ページ: "_s + fileName(chain_.pages.constFirst());
    if (pages > 1)
        text += u" 〜 "_s + fileName(chain_.pages.constLast());
    summary_->setText(text);
    // From the rows in view: a long chain's others are not worked out yet.
    for (const int column :
         {PageChainModel::FileName, PageChainModel::BodyBytes, PageChainModel::PageBytes,
          PageChainModel::Oldest, PageChainModel::Lost})
        pages_->resizeColumnToContents(column);
}

}  // namespace quillet
