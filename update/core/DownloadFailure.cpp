// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/core/DownloadFailure.h"

#include <cerrno>

namespace zorbinta {
namespace {

std::string kib(std::uintmax_t bytes) {
    return std::to_string(bytes / 1024);
}

// Whole kibibytes, a part of one counted as one, so that a file of 500 bytes
// is not announced as 0.
std::string kibRoundedUp(std::uintmax_t bytes) {
    return std::to_string((bytes + 1023) / 1024);
}

std::string serverError(int status) {
    const std::string code = std::to_string(status);
    if (status == 404 || status == 410) {
        return "Сервер ответил, что файла каталога у него нет (ошибка " + code + ").";
    }
    if (status >= 500)
        return "На сервере каталога произошла ошибка (" + code + "). Попробуйте позже.";
    return "Сервер каталога отказал в загрузке (ошибка " + code + ").";
}

}  // namespace

std::string describeFailure(const DownloadFailure& failure) {
    switch (failure.kind) {
        case FailureKind::None:
            return {};
        case FailureKind::NotConnected:
            return "Компьютер не подключён к интернету.";
        case FailureKind::NoAddress:
            return "Сервер каталога не найден: не удалось узнать его адрес. Проверьте "
                   "подключение к интернету.";
        case FailureKind::Refused:
            return "Сервер каталога не принимает подключения. Попробуйте позже.";
        case FailureKind::TimedOut:
            return "Сервер каталога не отвечает. Попробуйте позже.";
        case FailureKind::Unreachable:
            return "Не удалось связаться с сервером каталога.";
        case FailureKind::Broken:
            return "Связь с сервером прервалась: получено " + kib(failure.received) + " из " +
                   kibRoundedUp(failure.expected) + " КБ. Попробуйте ещё раз.";
        case FailureKind::ServerError:
            return serverError(failure.status);
        case FailureKind::BadReply:
            return "Сервер прислал неверный ответ: размер файла не указан или не совпал с "
                   "полученным.";
        case FailureKind::TooLarge:
            return "Файл на сервере слишком велик для каталога, он не загружен.";
        case FailureKind::TooShort:
            return "Файл на сервере слишком мал для каталога, он не загружен.";
        case FailureKind::CertificateRefused:
            return "Сертификат сервера не принят: защищённое соединение не установлено.";
        case FailureKind::SignatureRefused:
            return "Подпись каталога не подтверждена: файл мог быть подменён, он не принят.";
        case FailureKind::OlderCatalogue:
            return "Каталог на сервере старше установленного, он не принят.";
        case FailureKind::DiskFull:
            return "Диск заполнен: каталог некуда записать.";
        case FailureKind::ReadOnly:
            return "Папка каталога защищена от записи: каталог некуда записать.";
        case FailureKind::WriteFailed:
            return "Не удалось записать каталог на диск.";
        case FailureKind::NotLoaded:
            return "Полученный файл не читается как каталог, остался прежний.";
        case FailureKind::Other:
            return "Каталог не обновлён: " + failure.detail;
    }
    return {};
}

FailureKind writeFailureKind(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return FailureKind::DiskFull;
        case EROFS:
        case EACCES:
        case EPERM:
            return FailureKind::ReadOnly;
        default:
            return FailureKind::WriteFailed;
    }
}

}  // namespace zorbinta
