# Tests of object serialization: byte layouts, broken records, round trips.
tw_add_test_suite(serial_tests network/SerializationTest.cpp)
