# Tests of shapes and view objects.
