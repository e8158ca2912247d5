// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A certificate authority of the test's own, made with the openssl tool at
// the first use and trusted by the test's client alone (the machine's trust
// store is not touched), with the server certificates the HTTPS cases show.

#include <QFile>
#include <QSslCertificate>
#include <QSslKey>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "tests/LocalHttpServer.h"

namespace zorbinta::testsupport {

class TestCertificates {
public:
    QSslCertificate authority;  // the test's own CA
    TlsIdentity localhost;      // by that CA, for "localhost"
    TlsIdentity otherHost;      // by that CA, for "other.example"
    TlsIdentity selfSigned;     // for "localhost", signed by itself

    static const TestCertificates& get() {
        static const TestCertificates certificates;
        return certificates;
    }

private:
    TestCertificates() {
        namespace fs = std::filesystem;
        const fs::path dir =
            fs::temp_directory_path() / ("zorbinta-test-ca-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        // EC keys: quick to make. Two days of validity from now.
        const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
        std::string script = "set -e; cd '" + dir.string() + "'; exec >log 2>&1; ";
        script += "openssl req -x509" + key +
                  " -days 2 -subj '/CN=Zorbinta test CA' -keyout ca.key -out ca.pem"
                  " -addext basicConstraints=critical,CA:TRUE"
                  " -addext keyUsage=critical,keyCertSign,cRLSign; ";
        for (const std::string name : {"localhost", "other.example"}) {
            script += "openssl req" + key + " -subj /CN=" + name + " -keyout " + name +
                      ".key -out " + name + ".csr; printf 'subjectAltName=DNS:" + name +
                      "\\nbasicConstraints=CA:FALSE\\nextendedKeyUsage=serverAuth\\n' > " + name +
                      ".ext; openssl x509 -req -in " + name +
                      ".csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -out " + name +
                      ".pem -extfile " + name + ".ext; ";
        }
        script += "openssl req -x509" + key +
                  " -days 2 -subj /CN=localhost -addext subjectAltName=DNS:localhost"
                  " -keyout self.key -out self.pem";
        std::ofstream(dir / "make.sh") << script << '\n';
        if (std::system(("sh '" + (dir / "make.sh").string() + "'").c_str()) != 0) {
            throw std::runtime_error("openssl could not make the test certificates; see " +
                                     (dir / "log").string());
        }
        authority = certificate(dir / "ca.pem");
        localhost = identity(dir, "localhost");
        otherHost = identity(dir, "other.example");
        selfSigned = identity(dir, "self");
        fs::remove_all(dir);
    }

    static QByteArray contents(const std::filesystem::path& path) {
        QFile file(QString::fromStdString(path.string()));
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read " + path.string());
        return file.readAll();
    }
    static QSslCertificate certificate(const std::filesystem::path& path) {
        return QSslCertificate(contents(path), QSsl::Pem);
    }
    static TlsIdentity identity(const std::filesystem::path& dir, const std::string& name) {
        TlsIdentity id{certificate(dir / (name + ".pem")),
                       QSslKey(contents(dir / (name + ".key")), QSsl::Ec, QSsl::Pem)};
        if (id.certificate.isNull() || id.key.isNull()) {
            throw std::runtime_error("cannot load the test certificate " + name);
        }
        return id;
    }
};

}  // namespace zorbinta::testsupport
