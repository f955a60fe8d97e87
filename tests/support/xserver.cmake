# The virtual X server fixture (xserver) that window tests require.
