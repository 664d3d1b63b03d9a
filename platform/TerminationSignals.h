#pragma once

#include <QObject>

class QSocketNotifier;

// A desktop session that ends sends its programs SIGTERM (or SIGHUP when the
// terminal goes). This turns those into a Qt signal on the event loop, where
// it is safe to save and quit. One instance per process.
class TerminationSignals final : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
