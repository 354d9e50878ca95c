#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/control_site.h"
#include "platform/widgets/automation/property_bag.h"

namespace morvane::automation {
namespace {

QImage TwoByTwo() {
  QImage image(2, 2, QImage::Format_RGB32);
  image.setPixel(0, 0, 0xffff0000u);
  image.setPixel(1, 0, 0xff00ff00u);
  image.setPixel(0, 1, 0xff0000ffu);
  image.setPixel(1, 1, 0xffffffffu);
  return image;
}

TEST(PropertyBag, KeepsFirstWriteOrderReadsWithDefaultAndIgnoresCase) {
  PropertyBag bag;
  bag.write("Zooming", 4);
  bag.write("AutoRedraw", true);
  bag.write("zooming", 6);  // replaces in place
  EXPECT_EQ(bag.keys(), (QStringList{"Zooming", "AutoRedraw"}));
  EXPECT_EQ(bag.read("ZOOMING", 1).toInt(), 6);
  EXPECT_EQ(bag.read("GridLines", true).toBool(), true);
  EXPECT_FALSE(bag.read("Missing").isValid());
}

TEST(PropertyBag, JsonRoundTripKeepsEveryKindOfValue) {
  auto font = std::make_shared<FontObject>();
  font->name = "DejaVu Sans";
  font->size = 12;
  font->bold = true;
  font->weight = 700;
  font->italic = true;
  font->charset = 2;

  PropertyBag bag;
  bag.write("AutoRedraw", false);
  bag.write("BackColor", 0x80000012u);
  bag.write("DrawWidth", -3);
  bag.write("Ratio", 0.25);
  bag.write("Caption", "Zoom \"view\"");
  bag.write("Picture", QVariant::fromValue(TwoByTwo()));
  bag.write("MouseIcon", QVariant());  // Nothing
  bag.write("Empty", QVariant::fromValue(QImage()));
  bag.write("Font", QVariant::fromValue(font));
  font->size = 30;  // the bag took a copy

  const QByteArray text = QJsonDocument(bag.toJson()).toJson();
  const std::optional<PropertyBag> back = PropertyBag::fromJson(QJsonDocument::fromJson(text).array());
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->keys(), bag.keys());
  EXPECT_EQ(back->read("AutoRedraw").toBool(), false);
  EXPECT_EQ(back->read("BackColor").toLongLong(), 0x80000012LL);
  EXPECT_EQ(back->read("DrawWidth").toInt(), -3);
  EXPECT_DOUBLE_EQ(back->read("Ratio").toDouble(), 0.25);
  EXPECT_EQ(back->read("Caption").toString(), "Zoom \"view\"");
  const QImage picture = PictureOf(back->read("Picture"));
  ASSERT_EQ(picture.size(), QSize(2, 2));
  EXPECT_EQ(picture.pixel(1, 0), 0xff00ff00u);
  EXPECT_EQ(picture.pixel(0, 1), 0xff0000ffu);
  EXPECT_FALSE(back->read("MouseIcon", 5).isValid()) << "a stored Nothing is not the default";
  EXPECT_TRUE(IsPicture(back->read("Empty")));
  EXPECT_TRUE(PictureOf(back->read("Empty")).isNull());
  const FontRef f = FontOf(back->read("Font"));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->name, "DejaVu Sans");
  EXPECT_EQ(f->size, 12);
  EXPECT_TRUE(f->bold);
  EXPECT_TRUE(f->italic);
  EXPECT_EQ(f->charset, 2);
}

TEST(PropertyBag, UndecodableEntryFailsAloneOnRead) {
  const QByteArray text = R"([["DrawWidth", 2], ["Picture", {"type": "picture", "png": "not-png!"}],
                              ["Font", {"type": "font"}], ["Zooming", 3],
                              ["Huge", {"type": "font", "name": "DejaVu Sans", "size": 1e300}],
                              ["Negative", {"type": "font", "name": "DejaVu Sans", "size": -8}],
                              ["Largest", {"type": "font", "name": "DejaVu Sans", "size": 2160}]])";
  const std::optional<PropertyBag> bag = PropertyBag::fromJson(QJsonDocument::fromJson(text).array());
  ASSERT_TRUE(bag.has_value());
  EXPECT_EQ(bag->read("DrawWidth").toInt(), 2);
  EXPECT_EQ(bag->read("Zooming").toInt(), 3);
  // A font size no font can have (Qt would measure such text with a negative height).
  EXPECT_EQ(FontOf(bag->read("Largest"))->size, 2160);
  for (const char* key : {"Picture", "Font", "Huge", "Negative"}) {
    try {
      bag->read(key);
      ADD_FAILURE() << key << " read without error";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), kErrInvalidPropertyValue);
    }
  }
}

TEST(PropertyBag, RejectsDocumentsThatAreNoListOfPairs) {
  for (const char* text : {R"({"a": 1})", R"([["a"]])", R"([[1, 2]])", R"([3])"}) {
    SCOPED_TRACE(text);
    const QJsonDocument doc = QJsonDocument::fromJson(text);
    const QJsonValue value = doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    QString error;
    EXPECT_FALSE(PropertyBag::fromJson(value, &error).has_value());
    EXPECT_FALSE(error.isEmpty());
  }
}

TEST(FormDesign, SavesAndLoadsTheHostedControlsOfAForm) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  FormDesign design;
  design.form = "fwMain";
  HostedControlDesign zoom{"{77D9F396-9ACC-4B5F-A978-CF06B18DB6AD}", "ucScopel", -1, {}};
  zoom.bag.write("Zooming", 4);
  HostedControlDesign second{"{00000000-0000-0000-0000-000000000001}", "ucArray", 2, {}};
  design.controls = {zoom, second};

  const QString path = dir.filePath("fwMain.json");
  ASSERT_TRUE(design.Save(path));
  QString error;
  const std::optional<FormDesign> back = FormDesign::Load(path, &error);
  ASSERT_TRUE(back.has_value()) << error.toStdString();
  EXPECT_EQ(back->form, "fwMain");
  ASSERT_EQ(back->controls.size(), 2);
  const HostedControlDesign* found = back->find("UCSCOPEL");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->classId, zoom.classId);
  EXPECT_EQ(found->bag.read("Zooming").toInt(), 4);
  EXPECT_NE(back->find("ucArray", 2), nullptr);
  EXPECT_EQ(back->find("ucArray"), nullptr);
}

TEST(FormDesign, FailedSaveKeepsTheOldFileAndSaysWhy) {
  QTemporaryDir dir;
  FormDesign design;
  design.form = "fwMain";
  // A path whose parent is a regular file cannot be written, not even by root.
  const QString blocker = dir.filePath("file");
  QFile f(blocker);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("old");
  f.close();
  QString error;
  EXPECT_FALSE(design.Save(blocker + "/fwMain.json", &error));
  EXPECT_FALSE(error.isEmpty());

  EXPECT_FALSE(FormDesign::Load(dir.filePath("none.json"), &error).has_value());
  EXPECT_FALSE(FormDesign::fromJson("{\"controls\": [{\"name\": \"x\"}]}", &error).has_value());
  EXPECT_FALSE(FormDesign::fromJson("not json", &error).has_value());
  // A list of controls that is no list is damage, not a form without controls.
  for (const char* text :
       {R"({"form": "fwMain", "controls": {}})", R"({"form": "fwMain", "controls": "ucScopel"})",
        R"({"form": 7, "controls": []})", R"([1, 2])"}) {
    error.clear();
    EXPECT_FALSE(FormDesign::fromJson(text, &error).has_value()) << text;
    EXPECT_FALSE(error.isEmpty()) << text;
  }
  EXPECT_TRUE(FormDesign::fromJson(R"({"form": "fwAbout"})", &error).has_value())
      << "no hosted controls";
}

TEST(ControlSite, OffersAmbientPropertiesAndPassesChangeNotices) {
  QWidget form;
  ControlSite site("ucScopel", &form, 3);
  site.setHelpContextId(1200);
  site.setAmbient("UserMode", true);
  QStringList changed;
  site.setChangedHandler([&](const QString& p) { changed << p; });
  site.PropertyChanged("Zooming");
  EXPECT_EQ(changed, QStringList{"Zooming"});
  EXPECT_EQ(site.ambient("usermode").toBool(), true);
  EXPECT_EQ(site.ambient("DisplayName", "x").toString(), "x");
  EXPECT_EQ(site.container(), &form);
  EXPECT_EQ(site.index(), 3);
  EXPECT_EQ(site.helpContextId(), 1200);
}

}  // namespace
}  // namespace morvane::automation
