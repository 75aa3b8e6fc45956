#include "app/Application.h"

int main(int argc, char* argv[])
{
    return corvane::runApplication(argc, argv);
}
