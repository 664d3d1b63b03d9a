// Renders a Markdown document (the learner's guide, the README) as an HTML
// page that travels with the program.
//
// Usage: GuideGen <markdown-file> <html-file> [title]

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: GuideGen <markdown-file> <html-file> [title]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "GuideGen: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(in.readAll()));
    document.setMetaInformation(QTextDocument::DocumentTitle,
        argc == 4 ? QString::fromUtf8(argv[3]) : QStringLiteral("VemiTrainer"));
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || out.write(document.toHtml().toUtf8()) < 0) {
        std::fprintf(stderr, "GuideGen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
