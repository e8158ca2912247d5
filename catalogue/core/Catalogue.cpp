// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/Catalogue.h"

namespace zorbinta {

const std::array<const char*, 6> FreeHostCaptions = {
    "", "URL", "Дисковое пространство(Мб)", "Сервисы", "Реклама", "Коментарий"};

const std::array<const char*, 11> PaymentCaptions = {"",
                                                     "Безналичный расчет",
                                                     "Наличные в офисе",
                                                     "Наличные через банк",
                                                     "Кредитные карты",
                                                     "Система WebMoney",
                                                     "Система Яндекс-Деньги",
                                                     "Система PayCash",
                                                     "Система MoneyGram",
                                                     "Система CyberCheck",
                                                     "Баннерные показы"};

const std::array<const char*, 25> PlanCaptions = {"",
                                                  "Тарифный план",
                                                  "Дисковое пространство(Мб)",
                                                  "Трафик",
                                                  "Количество почтовых ящиков",
                                                  "Количество доменов 3 уровня",
                                                  "Количество баз MySQL",
                                                  "Месячная стоимость",
                                                  "Минимальный срок оплаты",
                                                  "Тестовый период (дней)",
                                                  "PHP",
                                                  "Perl",
                                                  "CGI-BIN директория",
                                                  "Поддержка SSI",
                                                  "Запуск скриптов по расписанию(Cron)",
                                                  "SSH доступ",
                                                  "Страницы ошибок",
                                                  "FTP доступ",
                                                  "Анонимный FTP",
                                                  "Паролирование директорий",
                                                  ".htaccess",
                                                  "Статистика сайта",
                                                  "Доступ к log-файлам",
                                                  "Панель управления",
                                                  "Ежедневный Back-Up"};

Catalogue::Catalogue()
    : texts_(4 * kTextSlots * kMaxRows),
      numbers_(4 * kNumberSlots * kMaxRows, 0.0),
      flags_(4 * kFlagSlots * kMaxRows, 0) {}

int Catalogue::rowCount(int table) const {
    switch (table) {
        case ProviderTable:
            return ProviderCount;
        case PlanTable:
            return PlanCount;
        case FreeHostTable:
            return FreeHostCount;
        case DomainTable:
            return DomainEnd > 0 ? DomainEnd - 1 : 0;
        default:
            return 0;
    }
}

}  // namespace zorbinta
