# Copies ZkDb's shared library beside the example host and points
# its run path at $ORIGIN, so that it finds its neighbours (ZkLib, SQLite)
# in that directory rather than in the build tree.
#
#   cmake -DFROM=<built library> -DTO=<file beside the host> -P DeployLibrary.cmake

file(COPY_FILE "${FROM}" "${TO}")
file(RPATH_SET FILE "${TO}" NEW_RPATH "$ORIGIN")
