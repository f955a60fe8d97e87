// Object's serialize and deserialize: the record is a mask followed by the
// selected fields in a fixed order. Kept apart from Object.cpp because the
// record layout belongs with the network code.
#include <cstdint>
#include <sstream>

#include "engine/core/LogManager.h"
#include "engine/core/RepeatedLog.h"
#include "engine/core/Utility.h"
#include "engine/world/ObjectRecord.h"
#include "engine/core/RecordIO.h"
#include "engine/world/Object.h"

namespace tw {

namespace {
const char* const SERIALIZE = "Object::serialize()";
const char* const DESERIALIZE = "Object::deserialize()";
const std::uint64_t MIN_STRING_BYTES = 8;  // the count of an empty string

bool has(unsigned int mask, unsigned int bit) { return (mask & bit) != 0; }

const LogManager& logger() { return LogManager::getInstance(); }

// A game that asks every step for attributes an object does not have would
// fill the log: after the first, only counts are written.
RepeatedLog& unknownWritten() {
  static RepeatedLog counter("records asked to write unknown attributes");
  return counter;
}

// Record fields 1 to 7: identity, interests and placement.
void writeIdentity(std::stringstream& ss, const Object& o, unsigned int mask) {
  if (has(mask, ID)) {
    writeInt(ss, o.getId());
    logger().writeLog(25, "\tID: %d", o.getId());
  }
  if (has(mask, ACTIVE)) {
    writeBool(ss, o.isActive());
    logger().writeLog(25, "\tACTIVE: %s", boolText(o.isActive()));
  }
  if (has(mask, VISIBLE)) {
    writeBool(ss, o.isVisible());
    logger().writeLog(25, "\tVISIBLE: %s", boolText(o.isVisible()));
  }
  if (has(mask, EVENTS)) {
    writeInt(ss, o.getEventCount());
    logger().writeLog(25, "\tEVENTS: %d", o.getEventCount());
    for (int i = 0; i < o.getEventCount(); i++) {
      const std::string event = o.getEventName(i);
      writeString(ss, event);
      logger().writeLog(25, "\t\t%s (size %d)", event.c_str(), static_cast<int>(event.size()));
    }
  }
  if (has(mask, BOX)) {
    o.getBox().serialize(&ss);
    logger().writeLog(25, "\tBOX: %s", o.getBox().toString().c_str());
  }
  if (has(mask, POSITION)) {
    o.getPosition().serialize(&ss);
    logger().writeLog(25, "\tPOSITION: %s", o.getPosition().toString().c_str());
  }
  if (has(mask, TYPE)) {
    writeString(ss, o.getType());
    logger().writeLog(25, "\tTYPE: %s", o.getType().c_str());
  }
}

// Record fields 8 to 11: how the object looks and collides.
void writeLook(std::stringstream& ss, const Object& o, unsigned int mask) {
  if (has(mask, ANIMATION)) {
    o.getAnimation().serialize(&ss);
    logger().writeLog(25, "\tANIMATION: %s", o.getAnimation().toString().c_str());
  }
  if (has(mask, ALTITUDE)) {
    writeInt(ss, o.getAltitude());
    logger().writeLog(25, "\tALTITUDE: %d", o.getAltitude());
  }
  if (has(mask, SOLIDNESS)) {
    writeInt(ss, static_cast<int>(o.getSolidness()));
    logger().writeLog(25, "\tSOLIDNESS: %s", toString(o.getSolidness()).c_str());
  }
  if (has(mask, NO_SOFT)) {
    writeBool(ss, o.getNoSoft());
    logger().writeLog(25, "\tNO_SOFT: %s", boolText(o.getNoSoft()));
  }
}

// Record fields 12 to 18: motion, shape and path (DIRECTION before SPEED and
// FOLLOW_PATH before PATH, unlike the bit order).
void writeMotion(std::stringstream& ss, const Object& o, unsigned int mask) {
  if (has(mask, DIRECTION)) {
    o.getDirection().serialize(&ss);
    logger().writeLog(25, "\tDIRECTION: %s", o.getDirection().toString().c_str());
  }
  if (has(mask, SPEED)) {
    writeFloat(ss, o.getSpeed());
    logger().writeLog(25, "\tSPEED: %f", static_cast<double>(o.getSpeed()));
  }
  if (has(mask, ACCELERATION)) {
    o.getAcceleration().serialize(&ss);
    logger().writeLog(25, "\tACCELERATION: %s", o.getAcceleration().toString().c_str());
  }
  if (has(mask, SHAPE)) {
    o.getShape().serialize(&ss);
    logger().writeLog(25, "\tSHAPE: %s", o.getShape().toString().c_str());
  }
  if (has(mask, FOLLOW_PATH)) {
    writeBool(ss, o.getFollowPath());
    logger().writeLog(25, "\tFOLLOW_PATH: %s", boolText(o.getFollowPath()));
  }
  if (has(mask, PATH)) {
    o.getPath().serialize(&ss);
    logger().writeLog(25, "\tPATH: %s", o.getPath().toString().c_str());
  }
  if (has(mask, AVOID_COLLISIONS)) {
    writeBool(ss, o.getAvoidCollisions());
    logger().writeLog(25, "\tAVOID_COLLISIONS: %s", boolText(o.getAvoidCollisions()));
  }
}

// The event types: a count every real object keeps within MAX_OBJ_EVENTS,
// each entry taking at least the 8 bytes of its length.
bool readEvents(std::stringstream& ss, std::vector<std::string>& events) {
  int count = 0;
  if (!readInt(ss, count)) return false;
  if (count < 0 || count > MAX_OBJ_EVENTS ||
      static_cast<std::uint64_t>(count) > bytesLeft(ss) / MIN_STRING_BYTES) {
    logger().writeLog("Object::deserialize(): Error! Event count %d not in range [0,%d].", count,
                      MAX_OBJ_EVENTS);
    failStream(ss);
    return false;
  }
  events.resize(static_cast<size_t>(count));
  for (std::string& event : events) {
    if (!readString(ss, event, DESERIALIZE)) return false;
  }
  return true;
}

bool readIdentity(std::stringstream& ss, ObjectRecord& r) {
  const unsigned int mask = r.mask;
  if (has(mask, ID) && !readInt(ss, r.id)) return false;
  if (has(mask, ACTIVE) && !readBool(ss, r.active)) return false;
  if (has(mask, VISIBLE) && !readBool(ss, r.visible)) return false;
  if (has(mask, EVENTS) && !readEvents(ss, r.events)) return false;
  if (has(mask, BOX) && r.box.deserialize(&ss) != 0) return false;
  if (has(mask, POSITION) && r.position.deserialize(&ss) != 0) return false;
  return !has(mask, TYPE) || readString(ss, r.type, DESERIALIZE);
}

bool readLook(std::stringstream& ss, ObjectRecord& r) {
  const unsigned int mask = r.mask;
  if (has(mask, ANIMATION) && r.animation.deserialize(&ss) != 0) return false;
  if (has(mask, ALTITUDE) && !readInt(ss, r.altitude)) return false;
  if (has(mask, SOLIDNESS) && !readInt(ss, r.solidness)) return false;
  return !has(mask, NO_SOFT) || readBool(ss, r.no_soft);
}

bool readMotion(std::stringstream& ss, ObjectRecord& r) {
  const unsigned int mask = r.mask;
  if (has(mask, DIRECTION) && r.direction.deserialize(&ss) != 0) return false;
  if (has(mask, SPEED) && !readFloat(ss, r.speed)) return false;
  if (has(mask, ACCELERATION) && r.acceleration.deserialize(&ss) != 0) return false;
  // A refused shape type leaves the stream good: the rest of the shape is
  // still taken, the old type kept.
  if (has(mask, SHAPE) && r.shape.deserialize(&ss) != 0 && !ss.good()) return false;
  if (has(mask, FOLLOW_PATH) && !readBool(ss, r.follow_path)) return false;
  if (has(mask, PATH) && r.path.deserialize(&ss) != 0) return false;
  return !has(mask, AVOID_COLLISIONS) || readBool(ss, r.avoid_collisions);
}

// A value a setter refuses is logged (by the setter or here) and skipped; the
// rest of the record is still applied.
void applySolidness(Object& o, int solidness) {
  // Only HARD to SPECTRAL may be held in a Solidness at all.
  if (solidness < HARD || solidness > SPECTRAL) {
    logger().writeLog("Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.",
                      solidness);
    return;
  }
  o.setSolidness(static_cast<Solidness>(solidness));
}

// The animation is taken without a sprite, which is then found again by name,
// and the box is fitted to it. A box the record carries (already applied) or a
// box that was not fitted to the old animation is the object's own, though,
// and is kept: fitting it would lose data the source still holds.
void applyAnimation(Object& o, const ObjectRecord& r) {
  const Box own_box = o.getBox();
  const bool keep_box = has(r.mask, BOX) || own_box != o.getAnimation().getBox();
  o.setAnimation(r.animation, true);
  if (!r.animation.getName().empty()) {
    const int frame = r.animation.getIndex();
    o.setSprite(r.animation.getName());
    Animation shown = o.getAnimation();
    shown.setIndex(frame);
    o.setAnimation(shown, true);
  }
  if (keep_box) o.setBox(own_box);
  logger().writeLog(25, "\tANIMATION: %s", o.getAnimation().toString().c_str());
}

void applyPlacement(Object& o, const ObjectRecord& r) {
  if (has(r.mask, BOX)) {
    o.setBox(r.box);
    logger().writeLog(25, "\tBOX: %s", r.box.toString().c_str());
  }
  if (has(r.mask, POSITION)) {
    o.setPosition(r.position);
    logger().writeLog(25, "\tPOSITION: %s", r.position.toString().c_str());
  }
  if (has(r.mask, TYPE)) {
    o.setType(r.type);
    logger().writeLog(25, "\tTYPE: %s", r.type.c_str());
  }
}

void applyLook(Object& o, const ObjectRecord& r) {
  if (has(r.mask, ANIMATION)) applyAnimation(o, r);
  if (has(r.mask, ALTITUDE)) {
    o.setAltitude(r.altitude);
    logger().writeLog(25, "\tALTITUDE: %d", r.altitude);
  }
  if (has(r.mask, SOLIDNESS)) {
    applySolidness(o, r.solidness);
    logger().writeLog(25, "\tSOLIDNESS: %s", toString(o.getSolidness()).c_str());
  }
  if (has(r.mask, NO_SOFT)) {
    o.setNoSoft(r.no_soft);
    logger().writeLog(25, "\tNO_SOFT: %s", boolText(r.no_soft));
  }
}

void applyMotion(Object& o, const ObjectRecord& r) {
  if (has(r.mask, DIRECTION)) {
    o.setDirection(r.direction);
    logger().writeLog(25, "\tDIRECTION: %s", r.direction.toString().c_str());
  }
  if (has(r.mask, SPEED)) {
    o.setSpeed(r.speed);
    logger().writeLog(25, "\tSPEED: %f", static_cast<double>(r.speed));
  }
  if (has(r.mask, ACCELERATION)) {
    o.setAcceleration(r.acceleration);
    logger().writeLog(25, "\tACCELERATION: %s", r.acceleration.toString().c_str());
  }
  if (has(r.mask, SHAPE)) {
    o.setShape(r.shape);
    logger().writeLog(25, "\tSHAPE: %s", r.shape.toString().c_str());
  }
  // Following acts on the path held now, before a PATH of the same record.
  if (has(r.mask, FOLLOW_PATH)) {
    o.setFollowPath(r.follow_path);
    logger().writeLog(25, "\tFOLLOW_PATH: %s", boolText(r.follow_path));
  }
  if (has(r.mask, PATH)) {
    o.setPath(r.path);
    logger().writeLog(25, "\tPATH: %s", r.path.toString().c_str());
  }
  if (has(r.mask, AVOID_COLLISIONS)) {
    o.setAvoidCollisions(r.avoid_collisions);
    logger().writeLog(25, "\tAVOID_COLLISIONS: %s", boolText(r.avoid_collisions));
  }
}
}  // namespace

int Object::serialize(std::stringstream* p_ss, unsigned int attr) {
  return writeRecord(p_ss, attr, ALL_OBJECT_ATTRIBUTES);
}

int Object::writeRecord(std::stringstream* p_ss, unsigned int attr, unsigned int record_bits) {
  if (p_ss == nullptr) return noStream(SERIALIZE);
  logger().writeLog(20, "Object::serialize(): attr is %u, modified is %u (%s)", attr, modified,
                    boolText(modified != 0));
  logger().writeLog(25, "\t%s", toBinaryString(attr).c_str());
  // A mask bit without its field would corrupt the record, so bits no
  // writer knows are left out.
  if ((attr & ~record_bits) != 0 && unknownWritten().count(SERIALIZE)) {
    logger().writeLog("Object::serialize(): Warning! Unknown attributes %s not written.",
                      toBinaryString(attr & ~record_bits).c_str());
  }
  const unsigned int mask = (attr != 0 ? attr : modified) & record_bits;
  writeMask(*p_ss, mask);
  writeIdentity(*p_ss, *this, mask);
  writeLook(*p_ss, *this, mask);
  writeMotion(*p_ss, *this, mask);
  modified &= ~(mask & ALL_OBJECT_ATTRIBUTES);
  return checkStream(SERIALIZE, *p_ss);
}

int Object::deserialize(std::stringstream* p_ss, unsigned int* p_mask) {
  if (p_ss == nullptr) return noStream(DESERIALIZE);
  ObjectRecord record;
  int read = 0;
  {
    const RepeatedLog::Hush hush(readingQuietly());
    read = readRecord(p_ss, record, ALL_OBJECT_ATTRIBUTES);
  }
  if (p_mask != nullptr) *p_mask = record.mask;
  if (read != 0) {
    countRefusedRecord(DESERIALIZE);
    return -1;
  }
  applyRecord(record);
  return checkStream(DESERIALIZE, *p_ss);
}

int Object::readRecord(std::stringstream* p_ss, ObjectRecord& record,
                       unsigned int record_bits) const {
  if (p_ss == nullptr) return noStream(DESERIALIZE);
  std::stringstream& ss = *p_ss;
  if (readMask(ss, record.mask)) {
    logger().writeLog(20, "Object::deserialize(): attr %u (%s)", record.mask,
                      toBinaryString(record.mask).c_str());
    if ((record.mask & ~record_bits) != 0) {
      // The length of an unknown field is unknown: nothing after it can be read.
      logger().writeLog("Object::deserialize(): Error! Unknown attributes in mask %s.",
                        toBinaryString(record.mask).c_str());
      failStream(ss);
    } else {
      record.shape = shape;  // a refused shape type keeps the current one
      if (readIdentity(ss, record) && readLook(ss, record)) readMotion(ss, record);
    }
  }
  return checkStream(DESERIALIZE, ss);
}

void Object::applyRecord(const ObjectRecord& record) {
  if (has(record.mask, ID)) {
    if (record.id != id) takeId(record.id);
    logger().writeLog(25, "\tID: %d", record.id);
  }
  if (has(record.mask, ACTIVE)) {
    setActive(record.active);
    logger().writeLog(25, "\tACTIVE: %s", boolText(record.active));
  }
  if (has(record.mask, VISIBLE)) {
    setVisible(record.visible);
    logger().writeLog(25, "\tVISIBLE: %s", boolText(record.visible));
  }
  if (has(record.mask, EVENTS)) {
    unregisterAllInterests();
    logger().writeLog(25, "\tEVENTS: %d", static_cast<int>(record.events.size()));
    for (const std::string& event : record.events) {
      logger().writeLog(25, "\t\tsize %d", static_cast<int>(event.size()));
      if (registerInterest(event) != 0) {
        logger().writeLog("Object::deserialize(): Error! Register interest: %s", event.c_str());
      }
      logger().writeLog(25, "\t\t%s (size %d)", event.c_str(), static_cast<int>(event.size()));
    }
  }
  applyPlacement(*this, record);
  applyLook(*this, record);
  applyMotion(*this, record);
  modified = 0;  // the object now agrees with its source
  logger().writeLog(20, "Object::deserialize(): done checking all types.");
}

}  // namespace tw
