// One copy of the program per program folder: the first copy listens on a
// local socket named after its folder; a second copy finds it, asks it to
// bring its window forward and ends.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace cfg::gui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy (it now answers the others); false
    // when another copy runs: it has been asked to come forward.
    bool Claim();
    // Called in the first copy when a later one starts.
    std::function<void()> onActivate;
    const QString& name() const { return name_; }

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace cfg::gui
