#include "platform/PlaceServiceRequest.h"

#include "platform/DesktopServices.h"

namespace tavlin::platform {

QByteArray PlaceServiceRequest::userAgent() {
    return HTTPClient::defaultUserAgent() + " (+" + QByteArray(websiteAddress.data(), websiteAddress.size()) + ")";
}

HTTPClient::Request PlaceServiceRequest::get(QUrl url) {
    HTTPClient::Request request = HTTPClient::get(std::move(url));
    request.timeout = timeout;
    request.maximumBodySize = maximumAnswer;
    return request;
}

QUrl PlaceServiceRequest::withQuery(QUrl url, const std::vector<std::pair<QByteArray, QString>>& items) {
    QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
    for (const auto& [name, value] : items) {
        if (!query.isEmpty()) query += '&';
        query += name + '=' + QUrl::toPercentEncoding(value);
    }
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

Task<std::vector<Placemark>> requestPlaces(HTTPClient& http, QUrl url,
                                           std::optional<std::vector<Placemark>> (*read)(QByteArrayView)) {
    HTTPClient::Request request = PlaceServiceRequest::get(std::move(url));
    request.headers.emplace_back("Accept", "application/json");
    HTTPClient::Response response;
    try {
        response = co_await http.send(std::move(request));
    } catch (const HTTPError& error) {
        throw PlaceServiceError(error.what());
    }
    std::optional<std::vector<Placemark>> places = read(response.body);
    if (!places) throw PlaceServiceError("the answer is not one of places");
    co_return std::move(*places);
}

}  // namespace tavlin::platform
