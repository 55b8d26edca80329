// Compiles Boost.JSON into this program, so no prebuilt Boost library is needed on any platform.
#include <boost/json/src.hpp>
