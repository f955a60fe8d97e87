// A forward iterator over an ObjectList; it never changes the list.
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/ObjectList.h"

namespace tw {

class TW_API ObjectListIterator {
 public:
  explicit ObjectListIterator(const ObjectList* p_list);

  void first();
  void next();  // never moves past the end
  bool isDone() const;
  Object* currentObject() const;  // null once done

 private:
  int index;
  const ObjectList* p_list;
};

}  // namespace tw
