#include "frame/Application.h"

int main(int argc, char *argv[])
{
    return invorator::RunApplication(argc, argv);
}
