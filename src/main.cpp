#include "app/mainproc.h"
#include "core/appinit.h"

int main(int argc, char **argv)
{
    hb::readTimeZoneOnce();
    hb::Application app(argc, argv);
    hb::initApplication(app);
    hb::runProgram(app);
}
