// marrowick-inspect: the objects of object files, or the GUIDs they share, as a
// table or as JSON.
#include <QCoreApplication>

#include <iostream>

#include <unistd.h>

#include "run.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return marrowick::inspect::RunInspect(QCoreApplication::arguments(), std::cout, std::cerr,
                                          ::isatty(STDERR_FILENO) == 1);
}
