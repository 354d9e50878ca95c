#include <gtest/gtest.h>

#include <QByteArray>
#include <QMimeData>
#include <QUrl>

#include "platform/widgets/automation/control_events.h"

namespace morvane::automation {
namespace {

// The files of a drop keep their bytes, a name that is not UTF-8 too; other links are
// no files.
TEST(DataObjectTest, DroppedFilesKeepTheirBytes) {
  struct Row {
    QUrl url;
    QByteArray bytes;  // empty: no file
  };
  const Row rows[] = {
      {QUrl::fromLocalFile(QStringLiteral("/tmp/map one.htm")), "/tmp/map one.htm"},
      {QUrl::fromLocalFile(QString::fromUtf8("/tmp/caf\xC3\xA9.gif")), "/tmp/caf\xC3\xA9.gif"},
      {QUrl::fromEncoded("file:///tmp/caf%E9.gif"), "/tmp/caf\xE9.gif"},
      {QUrl::fromEncoded("file:///tmp/100%25.gif"), "/tmp/100%.gif"},
      {QUrl(QStringLiteral("https://example.org/a.gif")), ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.url.toEncoded().toStdString());
    QMimeData mime;
    mime.setUrls({row.url});
    const DataObject data = DataObject::FromMimeData(&mime);
    if (row.bytes.isEmpty()) {
      EXPECT_TRUE(data.NativeFiles().isEmpty());
      EXPECT_FALSE(data.GetFormat(kFormatFiles));
    } else {
      ASSERT_EQ(data.NativeFiles().size(), 1);
      EXPECT_EQ(data.NativeFiles().front(), row.bytes);
      EXPECT_EQ(data.Files().size(), 1);
    }
  }
}

}  // namespace
}  // namespace morvane::automation
