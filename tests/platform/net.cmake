# Tests of the socket layer.
