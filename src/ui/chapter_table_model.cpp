#include "ui/chapter_table_model.h"

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <string>

#include "core/error.h"
#include "core/timestamp.h"
#include "ui/message_text.h"
#include "ui/video_thumbnails.h"
#include "writers/chapter_label.h"

namespace markwright::ui {
namespace {

QString Text(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ChapterTableModel::ChapterTableModel(const EditedChapters& chapters, const TitleChapters& source,
                                     QObject* parent)
    : QAbstractTableModel(parent), chapters_(chapters), source_(source) {}

void ChapterTableModel::Reset(double output_rate) {
  output_rate_ = output_rate;
  if (rowCount() == rows_shown_) {
    if (rows_shown_ > 0) emit dataChanged(index(0, 0), index(rows_shown_ - 1, kColumnCount - 1));
    return;
  }
  beginResetModel();
  rows_shown_ = rowCount();
  endResetModel();
}

void ChapterTableModel::PicturesChanged() {
  if (rows_shown_ > 0) emit dataChanged(index(0, kPicture), index(rows_shown_ - 1, kPicture));
}

int ChapterTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(chapters_.title.chapters.size());
}

int ChapterTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QString ChapterTableModel::Frame(int row) const {
  try {
    return QString::number(TimestampToFrame(
        chapters_.title.chapters[static_cast<std::size_t>(row)].start, output_rate_));
  } catch (const Error&) {
    return {};  // past the frames a 32-bit count holds: the writers refuse it, nothing to show
  }
}

QVariant ChapterTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const Chapter& chapter = chapters_.title.chapters[row];
  if (index.column() == kPicture) return PictureData(chapter.start, role);
  if (role == Qt::DisplayRole || role == Qt::EditRole) {
    switch (index.column()) {
      case kNumber:
        return index.row() + 1;
      case kTime:
        return Text(FormatTimestamp(chapter.start));
      case kFrame:
        return Frame(index.row());
      case kName: {
        if (role == Qt::EditRole) return Text(chapter.name);
        std::string shown;  // on one line, and short enough to lay out at once
        AppendOnOneLine(shown, ShortenedLine(chapter.name));
        return Text(shown);
      }
      default:
        return Text(std::string(chapter.language.view()));
    }
  }
  if (role == Qt::ToolTipRole && (index.column() == kTime || index.column() == kFrame)) {
    const ChapterId id = chapters_.ids[row];
    if (id >= source_.chapters.size()) return QStringLiteral("Added in this window");
    return Text("As read: " + FormatTimestamp(source_.chapters[id].start));
  }
  if (role == Qt::TextAlignmentRole && index.column() != kName && index.column() != kLanguage) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

QVariant ChapterTableModel::PictureData(std::int64_t start, int role) const {
  if (video_ == nullptr) return {};
  if (video_->PastEnd(start)) {
    return role == Qt::ToolTipRole ? QStringLiteral("After the end of the video") : QVariant();
  }
  if (role == Qt::DecorationRole) {
    const QImage picture = video_->Picture(start);
    return picture.isNull() ? QVariant() : QVariant(picture);
  }
  if (role != Qt::ToolTipRole && role != Qt::BackgroundRole) return {};
  const auto distance = video_->Distance(start);
  if (!distance) return {};
  if (role == Qt::BackgroundRole) {
    return distance->frames == 0 ? QVariant() : QVariant(QColor(230, 150, 0));
  }
  if (distance->frames == 0) return QStringLiteral("On key frame %1").arg(distance->key_frame);
  const auto frames = std::abs(distance->frames);
  const auto milliseconds = std::abs(distance->milliseconds);
  return QStringLiteral("Not on a key frame: key frame %1 is %2 %3 (%4 ms) %5")
      .arg(distance->key_frame)
      .arg(frames)
      .arg(frames == 1 ? "frame" : "frames")
      .arg(milliseconds)
      .arg(distance->frames > 0 ? "later" : "earlier");
}

QVariant ChapterTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kTitles[kColumnCount] = {"#",    "Time",     "Frame",
                                                    "Name", "Language", "Picture"};
  return section >= 0 && section < kColumnCount ? QString(kTitles[section]) : QVariant();
}

Qt::ItemFlags ChapterTableModel::flags(const QModelIndex& index) const {
  const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  return index.column() == kNumber || index.column() == kPicture ? flags
                                                                 : flags | Qt::ItemIsEditable;
}

bool ChapterTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || !edit_handler_) return false;
  if (value.toString() == data(index, Qt::EditRole).toString()) return false;  // nothing changed
  edit_handler_(index.row(), index.column(), value.toString());
  return true;
}

QString ChapterTableModel::WidestText(int column) const {
  const std::vector<Chapter>& list = chapters_.title.chapters;
  if (list.empty()) return {};
  const int last = rowCount() - 1;
  switch (column) {
    case kNumber:
      return QString::number(last + 1);
    case kTime:  // the latest start is the widest time; the list is in order as a rule
      return data(index(last, kTime), Qt::DisplayRole).toString();
    case kFrame:
      return Frame(last);
    default:
      return {};
  }
}

}  // namespace markwright::ui
