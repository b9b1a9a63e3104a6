// Another copy of a program for the single-instance tests: claims the name
// given as the first argument. Exit code 0: another copy was running and has
// been told. Otherwise it holds the name, says "holding" and waits to be killed.
#include <QCoreApplication>
#include <QTextStream>

#include "Platform.SingleInstance.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    auto guard = Platform::TSingleInstanceGuard::Claim(QString::fromLocal8Bit(argv[1]));
    if (!guard)
        return 0;
    QTextStream(stdout) << "holding" << Qt::endl;
    return app.exec();
}
