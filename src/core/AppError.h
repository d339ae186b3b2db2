#pragma once

#include <QString>
#include <stdexcept>

// An error with a readable description, as the error report shows it.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& description)
        : std::runtime_error(description.toStdString()), mDescription(description) {}
    QString description() const { return mDescription; }

private:
    QString mDescription;
};

// Using an object that an earlier, failed statement never set.
class ObjectNotSet : public AppError {
public:
    ObjectNotSet() : AppError(QStringLiteral("Object variable or With block variable not set")) {}
};

// Dereferences a pointer-like object, throwing ObjectNotSet when it is empty, so that a
// failed step makes every later step on the same object fail with its own report.
template <typename Ptr> auto& object(Ptr& p) {
    if (!p)
        throw ObjectNotSet();
    return *p;
}
