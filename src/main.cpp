#include "Velmo/VelmoStart.h"

int main(int argc, char *argv[])
{
    return VelmoMain(argc, argv);
}
