#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes Zorbinta catalogue files (base.db).

  gen_catalogue.py --sample PATH       the sample catalogue shipped with the program
  gen_catalogue.py --records N PATH    N records of every tag (N <= 1000), for tests
                                       and benchmarks; the same N gives the same file
      --extra-info BYTES               with --records: each provider's extra information
                                       runs to about BYTES bytes of Russian lines, for
                                       catalogues close to the size bound
  ... --earlier                        the catalogue as it stood before that one: some
                                       providers (and their plans) not yet there, one
                                       provider with two plans since gone, other prices
                                       for some plans and domain offers; for the
                                       changes page (base.db.prev)

The file is Windows-1251 text: an update record, then the "prov", "vs",
"free" and "dom" records, each a tag, "|" and fields that each end with "|".
Numbers use the decimal comma. Records follow each other directly; the only
line breaks (CR LF) are inside a provider's extra information.
"""

import argparse
import random
import sys

LINE_BREAK = "\r\n"
MAX_RECORDS = 1000

ZONES = [".ru", ".com", ".net", ".org", ".biz", ".info", ".com.ru", ".net.ru", ".org.ru",
         ".pp.ru", ".spb.ru", ".msk.ru"]


def num(value):
    """A number as the catalogue writes it: decimal comma, no trailing ',0'."""
    if isinstance(value, str):
        return value
    if float(value).is_integer():
        return str(int(value))
    return repr(float(value)).replace(".", ",")


def flag(value):
    return "1" if value else "0"


def record(tag, fields):
    for f in fields:
        if "|" in f:
            raise ValueError(f"'|' inside a value of a {tag} record: {f!r}")
    return tag + "|" + "".join(f + "|" for f in fields)


def provider_record(p):
    phones = list(p["phones"]) + [("", "")] * (3 - len(p["phones"]))
    fields = [num(p["id"]), p["firm"], p["address"]]
    for code, number in phones:
        fields += [code, number]
    fields += [p["web"], p["email"], p["date"], LINE_BREAK.join(p["extra"])]
    fields += [flag(x) for x in p["pay"]]
    assert len(fields) == 23
    return record("prov", fields)


def plan_record(v):
    fields = [v["name"]] + [num(x) for x in (
        v["number"], v["provider"], v["disk"], v["traffic"], v["mail"], v["sub"], v["mysql"],
        v["cost"], v["period"], v["trial"])]
    fields += [flag(x) for x in v["options"]]
    assert len(fields) == 26
    return record("vs", fields)


def free_record(f):
    return record("free", [f["address"], f["ads"], f["services"], f["comment"],
                           num(f["disk"]), num(f["id"])])


def domain_record(d):
    return record("dom", [d["zone"], num(d["extra"]), num(d["provider"]), num(d["reg"]),
                          num(d["renew"]), num(d["kind"])])


def catalogue_text(update, providers, plans, free, domains):
    parts = []
    if update:
        parts.append(record("update", list(update)))
    parts += [provider_record(p) for p in providers]
    parts += [plan_record(v) for v in plans]
    parts += [free_record(f) for f in free]
    parts += [domain_record(d) for d in domains]
    return "".join(parts)


# ---- the sample ----------------------------------------------------------------

SAMPLE_PROVIDERS = [
    ("ООО «Сетевые решения»", "Москва, ул. Тверская, д. 12, офис 304", "setreshenia.ru",
     "info@setreshenia.ru"),
    ("ЗАО «Хостинг-Центр»", "Москва, Ленинский проспект, д. 45", "host-center.ru",
     "sales@host-center.ru"),
    ("ООО «Веб-Сфера»", "Санкт-Петербург, Невский проспект, д. 88", "websfera.ru",
     "support@websfera.ru"),
    ("ООО «Байт-Сервис»", "Новосибирск, Красный проспект, д. 20", "baitservice.ru",
     "mail@baitservice.ru"),
    ("ООО «Инфолинк»", "Екатеринбург, ул. Малышева, д. 51", "infolink-hosting.ru",
     "info@infolink-hosting.ru"),
    ("ЗАО «Телеком Плюс»", "Москва, ул. Новый Арбат, д. 21", "telecomplus.ru",
     "hosting@telecomplus.ru"),
    ("ООО «Мастерхост-Юг»", "Ростов-на-Дону, ул. Большая Садовая, д. 70", "mhost-ug.ru",
     "office@mhost-ug.ru"),
    ("ООО «Цифровой дом»", "Казань, ул. Баумана, д. 9", "cifrdom.ru", "info@cifrdom.ru"),
    ("ООО «Агава-Нет»", "Москва, Варшавское шоссе, д. 125", "agavanet.ru",
     "support@agavanet.ru"),
    ("ООО «Спектр Хостинг»", "Самара, ул. Куйбышева, д. 103", "spectrhost.ru",
     "sales@spectrhost.ru"),
    ("ООО «Нева-Телеком»", "Санкт-Петербург, ул. Марата, д. 36", "nevatelecom.spb.ru",
     "info@nevatelecom.spb.ru"),
    ("ООО «Домен-Мастер»", "Москва, ул. Профсоюзная, д. 56", "domenmaster.ru",
     "reg@domenmaster.ru"),
    ("ИП Кузнецов А. В.", "Нижний Новгород, ул. Рождественская, д. 24", "kuznet-host.ru",
     "admin@kuznet-host.ru"),
    ("ООО «Виртуальный мир»", "Пермь, Комсомольский проспект, д. 34", "virtmir.ru",
     "help@virtmir.ru"),
    ("ЗАО «РусХост»", "Москва, ул. Сущёвский Вал, д. 18", "rushost.com",
     "info@rushost.com"),
    ("ООО «Сибирский хостинг»", "Красноярск, пр. Мира, д. 10", "sibhosting.ru",
     "mail@sibhosting.ru"),
    ("ООО «Электронные системы»", "Воронеж, пр. Революции, д. 38", "elsys-host.ru",
     "support@elsys-host.ru"),
    ("ООО «Интернет-Про»", "Москва, Волгоградский проспект, д. 42", "inetpro.ru",
     "info@inetpro.ru"),
    ("ООО «Хостинг Урал»", "Челябинск, пр. Ленина, д. 61", "hostural.ru",
     "sales@hostural.ru"),
    ("ООО «Северная сеть»", "Архангельск, ул. Воскресенская, д. 17", "sevset.ru",
     "info@sevset.ru"),
]

CITY_CODES = {"Москва": "495", "Санкт-Петербург": "812", "Новосибирск": "3832",
              "Екатеринбург": "343", "Ростов-на-Дону": "8632", "Казань": "8432",
              "Самара": "846", "Нижний Новгород": "8312", "Пермь": "3422",
              "Красноярск": "3912", "Воронеж": "0732", "Челябинск": "3512",
              "Архангельск": "8182"}

EXTRA_LINES = [
    "Собственный сервер в дата-центре М9.",
    "Техническая поддержка круглосуточно, 7 дней в неделю.",
    "Резервное копирование данных ежедневно.",
    "Каналы связи 100 Мбит/с к нескольким магистральным операторам.",
    "При оплате за год — два месяца в подарок.",
    "Бесплатный перенос сайта от другого провайдера.",
    "Скидки для образовательных и некоммерческих организаций.",
    "Работаем с 1998 года.",
    "Регистрация доменов в зонах .ru и .su.",
    "Серверы на базе FreeBSD и Linux.",
    "Консультации по телефону в рабочее время.",
    "Тестовый период без предоплаты.",
]

PLAN_NAMES = ["Старт", "Мини", "Базовый", "Стандарт", "Оптима", "Бизнес", "Профи", "Корпоративный",
              "Эконом", "Лайт", "Медиум", "Макси", "Премиум", "Домашний", "Офис"]


def sample_catalogue():
    return catalogue_text(*sample_parts())


def sample_parts():
    rnd = random.Random(2004)
    providers = []
    ids = []
    next_id = 1
    for i, (firm, address, web, email) in enumerate(SAMPLE_PROVIDERS):
        ids.append(next_id)
        city = address.split(",")[0]
        code = CITY_CODES[city]
        phones = [(code, f"{rnd.randint(200, 999)}-{rnd.randint(10, 99)}-{rnd.randint(10, 99)}")
                  for _ in range(1 + i % 3)]
        extra = rnd.sample(EXTRA_LINES, 2 + i % 3)
        pay = [rnd.random() < 0.6 for _ in range(10)]
        pay[0] = True  # every firm takes bank transfers
        date = f"2004-{1 + i % 12:02d}-{1 + (i * 7) % 28:02d}"
        providers.append({"id": next_id, "firm": firm, "address": address, "phones": phones,
                          "web": web, "email": email, "date": date, "extra": extra, "pay": pay})
        next_id += 1 + (i % 3 == 2)  # identifiers with gaps, as a database leaves them

    disks = [10, 20, 30, 50, 75, 100, 150, 200, 300, 500, 1000, 99999]
    traffic = [500, 1000, 2000, 3000, 5000, 10000, 99999]
    costs = ["3", "4,5", "5", "7,5", "9,9", "12,50", "15", "19,95", "25", "35", "49", "75,5"]
    plans = []
    for i in range(60):
        provider = ids[i % len(ids)] if i < 40 else ids[rnd.randrange(len(ids))]
        level = rnd.randrange(len(costs))
        options = [rnd.random() < 0.3 + level * 0.05 for _ in range(15)]
        options[0] = options[7] = True  # PHP and FTP everywhere
        plans.append({
            "name": PLAN_NAMES[i % len(PLAN_NAMES)] + ("" if i < 15 else f" {1 + i // 15}"),
            "number": 101 + i, "provider": provider,
            "disk": disks[max(0, min(len(disks) - 1, level + rnd.randint(-1, 1)))],
            "traffic": rnd.choice(traffic),
            "mail": rnd.choice([1, 5, 10, 20, 50, 100, 99999]),
            "sub": rnd.choice([0, 1, 3, 5, 10, 99999]),
            "mysql": rnd.choice([0, 1, 2, 5, 10, 99999]),
            "cost": costs[level], "period": rnd.choice([1, 3, 6, 12]),
            "trial": rnd.choice([0, 7, 10, 14, 30]), "options": options})

    free = [
        {"address": "www.narod-host.ru", "ads": "Баннер 468x60 вверху страницы",
         "services": "FTP, веб-интерфейс, счётчик посещений", "comment": "Без PHP", "disk": 9999},
        {"address": "www.freesite.ru", "ads": "Всплывающее окно", "services": "FTP, PHP, SSI",
         "comment": "Домен третьего уровня бесплатно", "disk": 50},
        {"address": "www.boom-home.ru", "ads": "Текстовая ссылка внизу",
         "services": "FTP, CGI, почта", "comment": "Ограничение 1 Мб на файл", "disk": 20},
        {"address": "www.halyava.net", "ads": "Нет рекламы", "services": "FTP",
         "comment": "Только для некоммерческих сайтов", "disk": 10},
        {"address": "www.mysite-free.com", "ads": "Баннер 100x100",
         "services": "PHP, MySQL, FTP", "comment": "Одна база данных MySQL", "disk": 100},
        {"address": "www.pochta-i-sait.ru", "ads": "Баннер в подвале", "services": "Почта, FTP",
         "comment": "Почтовый ящик 10 Мб", "disk": 25},
        {"address": "www.homepage.spb.ru", "ads": "Рамка сверху",
         "services": "Конструктор сайтов", "comment": "Для жителей Санкт-Петербурга", "disk": 30},
        {"address": "www.stranichka.org", "ads": "Нет рекламы", "services": "FTP, SSI",
         "comment": "Модерация содержимого", "disk": 15},
    ]
    for i, f in enumerate(free):
        f["id"] = 201 + i

    domains = []
    for i in range(40):
        zone = ZONES[i % len(ZONES)]
        provider = ids[(i * 7) % len(ids)]
        kind = (i // len(ZONES)) % 2 if i < 36 else i % 2
        base = {".ru": 18, ".com": 12, ".net": 12, ".org": 12, ".biz": 14, ".info": 10}.get(zone, 6)
        reg = base + rnd.choice([0, 0.5, 1.5, 2, 3]) - (2 if kind else 0)
        renew = reg - rnd.choice([0, 0.5, 1, 2])
        domains.append({"zone": zone, "extra": i % 3, "provider": provider,
                        "reg": max(reg, 1), "renew": max(renew, 1), "kind": kind})

    update = ("3.1", "http://www.zorbinta.ru/download/zorbinta31.exe")
    return update, providers, plans, free, domains


# ---- catalogues of any size ------------------------------------------------------

def long_extra(i, size):
    """Lines of extra information for provider i, about size bytes with their breaks."""
    lines, total, k = [], 0, 0
    while total < size:
        line = f"{EXTRA_LINES[(i + k) % len(EXTRA_LINES)]} Пункт {k + 1} для провайдера {i}."
        lines.append(line)
        total += len(line) + len(LINE_BREAK)
        k += 1
    return lines


def generated_catalogue(n, extra_size=0):
    return catalogue_text(*generated_parts(n, extra_size))


def generated_parts(n, extra_size=0):
    rnd = random.Random(n)
    providers, plans, free, domains = [], [], [], []
    for i in range(1, n + 1):
        providers.append({
            "id": i, "firm": f"ООО «Провайдер {i}»", "address": f"Москва, ул. Примерная, д. {i}",
            "phones": [("495", f"{100 + i % 900}-{i % 100:02d}-{(i * 7) % 100:02d}")] * (1 + i % 3),
            "web": f"provider{i}.ru", "email": f"info@provider{i}.ru",
            "date": f"{2000 + i % 5}-{1 + i % 12:02d}-{1 + i % 28:02d}",
            "extra": long_extra(i, extra_size) if extra_size else
                     [f"Строка {k} сведений о провайдере {i}." for k in range(1, 2 + i % 3)],
            "pay": [rnd.random() < 0.5 for _ in range(10)]})
        plans.append({
            "name": f"Тариф {i}", "number": i, "provider": 1 + rnd.randrange(n),
            "disk": rnd.choice([10, 50, 100, 500, 99999]),
            "traffic": rnd.choice([1000, 5000, 99999]), "mail": rnd.randint(1, 100),
            "sub": rnd.randint(0, 20), "mysql": rnd.randint(0, 10),
            "cost": rnd.randint(100, 10000) / 100, "period": rnd.choice([1, 3, 12]),
            "trial": rnd.choice([0, 14]), "options": [rnd.random() < 0.5 for _ in range(15)]})
        free.append({"address": f"www.free{i}.ru", "ads": "Баннер", "services": "FTP",
                     "comment": f"Предложение {i}", "disk": rnd.choice([10, 100, 9999]), "id": i})
        domains.append({"zone": ZONES[i % len(ZONES)], "extra": 0, "provider": 1 + rnd.randrange(n),
                        "reg": rnd.randint(500, 3000) / 100, "renew": rnd.randint(500, 3000) / 100,
                        "kind": i % 2})
    return ("3.1", "http://www.zorbinta.ru/download/"), providers, plans, free, domains


# ---- the catalogue before ----------------------------------------------------------

def to_float(value):
    return float(value.replace(",", ".")) if isinstance(value, str) else float(value)


def earlier_parts(update, providers, plans, free, domains):
    """The same catalogue as it stood before: every 8th provider and its plans not
    there yet, a provider with two plans that has gone since, every 6th plan at
    another price (higher or lower in turn) and every 5th domain offer with another
    registration price, every 10th with another renewal price."""
    new_ids = {p["id"] for i, p in enumerate(providers) if i % 8 == 3}
    old_providers = [p for p in providers if p["id"] not in new_ids]
    old_plans = []
    for i, v in enumerate(plans):
        if v["provider"] in new_ids:
            continue
        if i % 6 == 1:
            factor = 1.25 if i % 12 == 1 else 0.8
            v = dict(v, cost=round(to_float(v["cost"]) * factor, 2))
        old_plans.append(v)
    gone = max([p["id"] for p in providers] + [0]) + 1
    if len(old_providers) < MAX_RECORDS and len(old_plans) + 2 <= MAX_RECORDS:
        old_providers.append({
            "id": gone, "firm": "ООО «Прежний хостинг»", "address": "Москва, ул. Старая, д. 1",
            "phones": [("495", "100-00-01")], "web": "prezhniy-host.ru",
            "email": "info@prezhniy-host.ru", "date": "2003-12-01",
            "extra": ["Прекратил работу."], "pay": [True] + [False] * 9})
        top = max([v["number"] for v in plans] + [0])
        for k in (1, 2):
            old_plans.append({
                "name": f"Прежний {k}", "number": top + k, "provider": gone, "disk": 50 * k,
                "traffic": 1000 * k, "mail": 5, "sub": 1, "mysql": 1, "cost": 6 * k,
                "period": 1, "trial": 0, "options": [True] * 3 + [False] * 12})
    old_domains = []
    for i, d in enumerate(domains):
        if i % 5 == 2:
            d = dict(d, reg=round(to_float(d["reg"]) + 1.5, 2))
        if i % 10 == 4:
            d = dict(d, renew=round(max(to_float(d["renew"]) - 0.5, 1), 2))
        old_domains.append(d)
    return update, old_providers, old_plans, free, old_domains


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    what = parser.add_mutually_exclusive_group(required=True)
    what.add_argument("--sample", action="store_true", help="the shipped sample catalogue")
    what.add_argument("--records", type=int, metavar="N", help="N records of every tag")
    parser.add_argument("--extra-info", type=int, default=0, metavar="BYTES",
                        help="with --records: about BYTES bytes of extra information a provider")
    parser.add_argument("--earlier", action="store_true",
                        help="the catalogue as it stood before, for base.db.prev")
    parser.add_argument("path", help="the file to write")
    args = parser.parse_args(argv)
    if args.records is not None and not 0 <= args.records <= MAX_RECORDS:
        parser.error(f"--records takes 0 to {MAX_RECORDS}")
    if args.extra_info and args.records is None:
        parser.error("--extra-info goes with --records")
    if args.extra_info < 0:
        parser.error("--extra-info takes a size in bytes")
    parts = sample_parts() if args.sample else generated_parts(args.records, args.extra_info)
    if args.earlier:
        parts = earlier_parts(*parts)
    text = catalogue_text(*parts)
    with open(args.path, "wb") as out:
        out.write(text.encode("cp1251"))


if __name__ == "__main__":
    main(sys.argv[1:])
