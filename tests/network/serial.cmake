# Tests of object serialization: byte layouts, broken records, round trips.
tw_add_test_suite(serial_tests
  network/SerializationTest.cpp
  network/SerializationPartsTest.cpp
  network/SerializationObjectTest.cpp
  network/SerializationViewTest.cpp
  network/SerializationCorpusTest.cpp
  network/SerializationRoundTripTest.cpp
)
