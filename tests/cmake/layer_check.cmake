# Run by ctest: cmake -DCHECKS=<StrikoraChecks.cmake> -DSRC=<src> -DQT_HEADERS=<Qt's include
# folder> -P layer_check.cmake
cmake_minimum_required(VERSION 3.25)
include(${CHECKS})
strikora_check_layers(${SRC} ${QT_HEADERS})
