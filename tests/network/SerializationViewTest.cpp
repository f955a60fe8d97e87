// View object records: the object's record followed by VALUE and APPEARANCE,
// applied through the view object's setters, and nothing applied from a
// record that cannot be read to its end.
#include "tests/network/SerializationTest.h"

using tw::Vector;
using tw::ViewObject;
using tw_test::Bytes;
using tw_test::describe;
using tw_test::streamOf;

namespace {
class SerializationViewTest : public tw_test::SerializationTest {
 protected:
  // A view object with every view field away from its default.
  ViewObject* scoreView() {
    auto* v = new ViewObject;
    v->setViewString("Score");
    v->setValue(42);
    v->setBorder(false);
    v->setColor(tw::RED);
    v->setLocation(tw::BOTTOM_RIGHT);
    v->setDrawValue(false);
    return v;
  }
  std::string recordOf(ViewObject* v) {
    std::stringstream ss;
    EXPECT_EQ(v->serialize(&ss), 0);
    return ss.str();
  }
};

const unsigned int ALL_VIEW_BITS = 0xFFFFF;
}  // namespace

TEST_F(SerializationViewTest, FreshViewObjectAppendsValueAndAppearance) {
  auto* v = new ViewObject;
  const std::string record = recordOf(v);
  EXPECT_EQ(record.substr(0, 4), Bytes().u32(ALL_VIEW_BITS).get());
  const std::string tail = Bytes()
                               .i32(0)               // value
                               .str("")              // view string
                               .b(true)              // border
                               .i32(tw::WHITE)       // colour
                               .i32(tw::TOP_CENTER)  // location
                               .b(true)              // draw value
                               .get();
  ASSERT_GT(record.size(), tail.size());
  EXPECT_EQ(record.substr(record.size() - tail.size()), tail);
  EXPECT_EQ(v->getModified(), 0u);

  std::stringstream value_only;
  v->setValue(5);
  EXPECT_EQ(v->serialize(&value_only), 0);
  EXPECT_EQ(value_only.str(), Bytes().u32(tw::VALUE).i32(5).get());
}

TEST_F(SerializationViewTest, ViewFieldsArriveThroughTheSetters) {
  ViewObject* source = scoreView();
  std::stringstream ss = streamOf(recordOf(source));
  auto* copy = new ViewObject;
  EXPECT_EQ(copy->deserialize(&ss), 0);
  EXPECT_EQ(copy->getPosition(), Vector(80.0f * 5.0f / 6.0f, 23));
  // The object part is cleared; the view setters mark their bits again.
  EXPECT_EQ(copy->getModified(), tw::VALUE | tw::APPEARANCE);
  copy->setModified(0);
  EXPECT_EQ(describe(*copy), describe(*source));
}

TEST_F(SerializationViewTest, PositionPlacedViewObjectArrivesWithoutWarning) {
  auto* source = new ViewObject;
  source->setPosition(Vector(5, 7));
  std::stringstream ss = streamOf(recordOf(source));
  auto* copy = new ViewObject;
  EXPECT_EQ(copy->deserialize(&ss), 0);
  EXPECT_EQ(copy->getPosition(), Vector(5, 7));
  EXPECT_EQ(copy->getLocation(), -1);
  for (const std::string& line : log.messages()) {
    EXPECT_EQ(line.find("Location out of range"), std::string::npos) << line;
  }
}

TEST_F(SerializationViewTest, LocationOutOfRangeIsRefusedAndTheRestApplied) {
  std::string record = recordOf(scoreView());
  // The location is the int before the closing draw-value byte.
  const std::string twelve = Bytes().i32(12).get();
  record.replace(record.size() - 5, 4, twelve);
  std::stringstream ss = streamOf(record);
  auto* copy = new ViewObject;
  EXPECT_EQ(copy->deserialize(&ss), 0);
  EXPECT_TRUE(logged("ViewObject::setLocation(): Warning! Location out of range (12). Ignored."));
  EXPECT_EQ(copy->getViewString(), "Score");
  EXPECT_FALSE(copy->getDrawValue());
  EXPECT_EQ(copy->getColor(), tw::RED);
}

TEST_F(SerializationViewTest, ShortRecordChangesNothingAndNamesWhereItEnded) {
  const std::string record = recordOf(scoreView());
  auto* copy = new ViewObject;
  const std::string before = describe(*copy);

  std::stringstream short_view = streamOf(record.substr(0, record.size() - 1));
  EXPECT_EQ(copy->deserialize(&short_view), -1);
  EXPECT_TRUE(logged("ViewObject::deserialize(): Error! Stream eof."));
  EXPECT_FALSE(logged("ViewObject::deserialize(): Error calling Object::deserialize()."));
  EXPECT_EQ(describe(*copy), before);

  std::stringstream short_object = streamOf(record.substr(0, 10));
  EXPECT_EQ(copy->deserialize(&short_object), -1);
  EXPECT_TRUE(logged("Object::deserialize(): Error! Stream eof."));
  EXPECT_TRUE(logged("ViewObject::deserialize(): Error calling Object::deserialize()."));
  EXPECT_EQ(describe(*copy), before);
}
